#include "Recipe.h"

MaterialList::MaterialList(std::vector<Material> materials) {
    for (Material& m : materials)
        add(std::move(m));
}

void MaterialList::add(Material material) {
    if (!m_byCode.contains(material.code))
        m_byCode.insert(material.code, m_materials.size());
    m_materials.push_back(std::move(material));
}

const Material* MaterialList::find(const QString& code) const {
    const auto it = m_byCode.constFind(code);
    return it == m_byCode.constEnd() ? nullptr : &m_materials[*it];
}
