#include "StoredLibrary.h"

#include "store/Tables.h"
#include "components/Database.h"
#include "components/StoreError.h"

namespace {

int column(const char* name) { return Tables::rmLib().columnIndex(QString::fromLatin1(name)); }

// Found once: a list reads them for thousands of rows at a time.
const int kCode = column("RMCode");
const int kName = column("RMCommonName");
const int kType = column("RMType");
const int kClass = column("RMChemClass");

} // namespace

StoredLibrary::StoredLibrary(Database& db) : m_db(db) {
    m_listener = m_db.whenFilesChange([this] { filesChanged(); });
    try {
        m_announced = file().generation();
    } catch (const StoreError&) {
        m_announced = 0; // announced as changed after the first action, when it may be readable
    }
}

StoredLibrary::~StoredLibrary() { m_db.stopListening(m_listener); }

Material StoredLibrary::materialOf(const RowValues& row) {
    const auto text = [&](const char* name) { return row.text(column(name)); };
    const auto number = [&](const char* name) { return row.number(column(name)); };
    Material m;
    m.code = text("RMCode");
    m.name = text("RMCommonName");
    m.chemClass = text("RMChemClass");
    m.type = materialTypeOf(text("RMType"));
    m.mwt = number("RMMWt");
    m.fa = number("RMFa");
    m.fan = number("RMFan");
    m.fb = number("RMFb");
    m.price = number("RMPrice");
    return m;
}

TableFile& StoredLibrary::file() const { return m_db.table(Tables::rmLib()); }

const Material* StoredLibrary::find(const QString& code) const {
    if (code.isEmpty())
        return nullptr;
    TableFile& lib = file();
    if (lib.generation() != m_generation) {
        m_made.clear();
        m_generation = lib.generation();
    }
    const StoredRow* row = lib.findFirst(kCode, code.toUtf8());
    if (!row)
        return nullptr;
    auto it = m_made.find(row);
    if (it == m_made.end())
        it = m_made.insert(row, materialOf(row->values));
    return &*it;
}

const StoredRow* StoredLibrary::rowAt(int index) const {
    const std::vector<RowPtr>& rows = file().snapshotInOrder({kCode});
    return index >= 0 && size_t(index) < rows.size() ? rows[size_t(index)].get() : nullptr;
}

int StoredLibrary::size() const { return int(file().snapshotInOrder({kCode}).size()); }

Material StoredLibrary::at(int index) const {
    const StoredRow* row = rowAt(index);
    return row ? materialOf(row->values) : Material{};
}

QString StoredLibrary::nameAt(int index) const {
    const StoredRow* row = rowAt(index);
    return row ? row->values.text(kName) : QString();
}

QString StoredLibrary::codeAt(int index) const {
    const StoredRow* row = rowAt(index);
    return row ? row->values.text(kCode) : QString();
}

MaterialType StoredLibrary::listedTypeAt(int index) const {
    const StoredRow* row = rowAt(index);
    return row ? listedMaterialTypeOf(row->values.text(kType)) : MaterialType::Other;
}

std::vector<StoredMaterial> StoredLibrary::inPrintOrder() const {
    // Read as a row view reads a value: text for the words, a number for the figures.
    const auto text = [](const RowValues& v, const char* name) {
        const QVariant x = v.at(column(name));
        return x.isNull() ? QString() : x.toString();
    };
    const auto figure = [](const RowValues& v, const char* name) {
        const QVariant x = v.at(column(name));
        return x.isNull() ? std::nullopt : std::optional<double>(x.toDouble());
    };
    std::vector<StoredMaterial> out;
    const std::vector<RowPtr>& rows = file().snapshotInOrder({kType, kClass, kCode});
    out.reserve(rows.size());
    for (const RowPtr& row : rows) {
        const RowValues& v = row->values;
        out.push_back({text(v, "RMCode"), text(v, "RMCommonName"), text(v, "RMChemClass"), text(v, "RMType"),
                       figure(v, "RMMWt"), figure(v, "RMFa"), figure(v, "RMFan"), figure(v, "RMFb"),
                       figure(v, "RMPrice")});
    }
    return out;
}

void StoredLibrary::filesChanged() {
    // Called as an action ends, which must not fail for a list. A library that cannot be read
    // now is announced as changed (the lists read what they can) and again after every action
    // until it can be read, so that no list stays empty once the disk recovers.
    quint64 now = 0;
    try {
        now = file().generation();
        if (now == m_announced)
            return; // most actions leave the library alone: nothing to read
        size();
    } catch (const StoreError&) {
        now = 0;
    }
    m_announced = now;
    emit changed();
}
