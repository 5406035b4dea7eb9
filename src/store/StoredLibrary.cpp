#include "StoredLibrary.h"

#include "store/Tables.h"
#include "components/Database.h"
#include "components/StoreError.h"
#include "components/TextKey.h"

#include <algorithm>

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

namespace {

// Read as a row view reads a value: text for the words, a number for the figures.
QString partText(const RowValues& v, int column) {
    const QVariant x = v.at(column);
    return x.isNull() ? QString() : x.toString();
}

std::optional<double> partFigure(const RowValues& v, int column) {
    const QVariant x = v.at(column);
    return x.isNull() ? std::nullopt : std::optional<double>(x.toDouble());
}

struct Part {
    int column;
    QString StoredMaterial::*text;
    std::optional<double> StoredMaterial::*figure;
};

const Part kParts[] = {{kCode, &StoredMaterial::code, nullptr},
                       {kName, &StoredMaterial::name, nullptr},
                       {kClass, &StoredMaterial::chemClass, nullptr},
                       {kType, &StoredMaterial::type, nullptr},
                       {column("RMMWt"), nullptr, &StoredMaterial::mwt},
                       {column("RMFa"), nullptr, &StoredMaterial::fa},
                       {column("RMFan"), nullptr, &StoredMaterial::fan},
                       {column("RMFb"), nullptr, &StoredMaterial::fb},
                       {column("RMPrice"), nullptr, &StoredMaterial::price}};

StoredMaterial storedOf(const StoredRow& row) {
    StoredMaterial m;
    for (const Part& p : kParts) {
        if (p.text)
            m.*p.text = partText(row.values, p.column);
        else
            m.*p.figure = partFigure(row.values, p.column);
    }
    m.id = row.rowid;
    return m;
}

} // namespace

bool StoredMaterial::sameParts(const StoredMaterial& o) const {
    return code == o.code && name == o.name && chemClass == o.chemClass && type == o.type && mwt == o.mwt &&
           fa == o.fa && fan == o.fan && fb == o.fb && price == o.price;
}

std::vector<StoredMaterial> StoredLibrary::inOrder(const std::vector<int>& columns) const {
    std::vector<StoredMaterial> out;
    const std::vector<RowPtr>& rows = file().snapshotInOrder(columns);
    out.reserve(rows.size());
    for (const RowPtr& row : rows)
        out.push_back(storedOf(*row));
    return out;
}

std::vector<StoredMaterial> StoredLibrary::inPrintOrder() const { return inOrder({kType, kClass, kCode}); }

std::vector<StoredMaterial> StoredLibrary::inListOrder() const { return inOrder({kCode, kName}); }

const StoredRow& StoredLibrary::rowOf(qint64 id) const {
    const std::vector<RowPtr>& rows = file().snapshot(); // in rowid order
    const auto at = std::lower_bound(rows.begin(), rows.end(), id,
                                     [](const RowPtr& r, qint64 wanted) { return r->rowid < wanted; });
    if (at == rows.end() || (*at)->rowid != id)
        throw StoreError(QStringLiteral("The material is no longer in the library."));
    return **at;
}

qint64 StoredLibrary::store(const StoredMaterial& material) {
    // Only what differs is written: a part the user left alone stays as it was stored, in
    // whatever form an older program stored it.
    const StoredMaterial before = material.id ? storedOf(rowOf(material.id)) : StoredMaterial{};
    RowValues after = material.id ? rowOf(material.id).values : RowValues(int(Tables::rmLib().columns.size()));
    for (const Part& p : kParts) {
        if (p.text && (!material.id || material.*p.text != before.*p.text)) {
            const QString& text = material.*p.text;
            after.set(p.column, text.isEmpty() ? QVariant() : QVariant(text));
        } else if (p.figure && (!material.id || material.*p.figure != before.*p.figure)) {
            const std::optional<double>& figure = material.*p.figure;
            after.set(p.column, figure ? QVariant(*figure) : QVariant());
        }
    }
    TableFile& lib = file();
    if (!material.id)
        return lib.insert(after);
    // A copy: the write renews the rows read, the stored one among them.
    const RowValues stored = rowOf(material.id).values;
    lib.update(material.id, stored, after);
    return material.id;
}

void StoredLibrary::remove(qint64 id) {
    const RowValues stored = rowOf(id).values;
    file().remove(id, stored);
}

QString StoredLibrary::spelled(const QString& typed) const {
    const QString code = typed.trimmed();
    if (code.isEmpty() || find(code))
        return code;
    for (const RowPtr& row : file().snapshot())
        if (TextKey::same(row->values.text(kCode).trimmed(), code))
            return row->values.text(kCode);
    return code;
}

QVariant StoredLibrary::codeNamed(const QString& name) const {
    if (name.isEmpty())
        return {};
    for (const RowPtr& row : file().snapshot())
        if (row->values.text(kName) == name)
            return row->values.at(kCode);
    return {};
}

int StoredLibrary::countOf(const QString& code) const {
    int count = 0;
    for (const RowPtr& row : file().snapshot())
        if (row->values.text(kCode) == code)
            ++count;
    return count;
}

quint64 StoredLibrary::version() const {
    try {
        return file().generation();
    } catch (const StoreError&) {
        return 0; // unreadable: whatever was read of it is stale
    }
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
