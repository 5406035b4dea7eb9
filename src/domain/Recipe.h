#pragma once

#include "MaterialType.h"

#include <QHash>
#include <QString>
#include <optional>
#include <vector>

// A raw material of the library.
struct Material {
    QString code;
    QString name;
    QString chemClass;
    MaterialType type = MaterialType::Other;
    double mwt = 0;   // molecular mass
    double fa = 0;    // carboxyl groups per molecule
    double fan = 0;   // anhydride groups per molecule, each two carboxyls once opened
    double fb = 0;    // hydroxyl groups per molecule
    double price = 0; // per unit mass
};

// Where a recipe's lines find their materials: by code, exactly as a line names it.
class MaterialLookup {
public:
    virtual ~MaterialLookup() = default;
    // The material of that code; nullptr when the library has none.
    virtual const Material* find(const QString& code) const = 0;
};

// A library held as values: a recipe can be totalled without any store.
class MaterialList : public MaterialLookup {
public:
    MaterialList() = default;
    explicit MaterialList(std::vector<Material> materials);
    void add(Material material);
    // The first material of that code, as a library stored before codes were kept apart would
    // give it.
    const Material* find(const QString& code) const override;

private:
    std::vector<Material> m_materials;
    QHash<QString, size_t> m_byCode;
};

// One ingredient line. An empty amount is nullopt; every calculation reads it as 0.
struct Line {
    std::optional<int> item;
    QString code;
    std::optional<double> mass, moles, ea, eb;
    std::optional<double> charge, percent, cost; // the batch pass's
};

// What names and describes a recipe, and the batch it is made for.
struct RecipeHeader {
    QString type;
    QString code;
    QString description;
    std::optional<double> av;     // the acid value cooked to
    std::optional<double> solids; // per cent of the finished product
    std::optional<double> size;   // resin wanted from one batch
    QString date;                 // when last stored: local time, ISO 8601; empty when never
};

// A recipe's name: its resin type and its code.
struct RecipeName {
    QString type;
    QString code;
};

struct Recipe {
    RecipeHeader header;
    std::vector<Line> lines; // in item order
};

// What a new recipe's header holds until the user changes it.
namespace NewRecipe {
inline const QString description = QStringLiteral("[Enter Recipe Description here]");
inline constexpr double av = 8;
inline constexpr double solids = 50;
inline constexpr double size = 1000;
} // namespace NewRecipe

// A new recipe of that name: no lines, and the header's defaults.
inline Recipe newRecipe(const QString& type, const QString& code) {
    return {{type, code, NewRecipe::description, NewRecipe::av, NewRecipe::solids, NewRecipe::size, {}}, {}};
}

inline double value(const std::optional<double>& amount) { return amount.value_or(0); }
