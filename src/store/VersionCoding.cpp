#include "VersionCoding.h"

#include <QDataStream>
#include <QIODevice>

namespace VersionCoding {

namespace {

constexpr quint8 kFormat = 1;
enum Kind : quint8 { Key = 1, Difference = 2, MaterialRecord = 3 };

// The parts of a line a version keeps, each one bit of a line's mask.
enum Part : quint8 { Item = 1, Code = 2, Mass = 4, Moles = 8, Ea = 16, Eb = 32 };
constexpr quint8 kWhole = Item | Code | Mass | Moles | Ea | Eb;

void put(QDataStream& s, const std::optional<double>& v) {
    s << bool(v);
    if (v)
        s << *v;
}
std::optional<double> takeAmount(QDataStream& s) {
    bool present = false;
    s >> present;
    if (!present)
        return std::nullopt;
    double v = 0;
    s >> v;
    return v;
}

void putHeader(QDataStream& s, const RecipeHeader& h) {
    s << h.type << h.code << h.description;
    put(s, h.av);
    put(s, h.solids);
    put(s, h.size);
    s << h.date;
}
RecipeHeader takeHeader(QDataStream& s) {
    RecipeHeader h;
    s >> h.type >> h.code >> h.description;
    h.av = takeAmount(s);
    h.solids = takeAmount(s);
    h.size = takeAmount(s);
    s >> h.date;
    return h;
}

quint8 differing(const Line& a, const Line& b) {
    quint8 mask = 0;
    if (a.item != b.item)
        mask |= Item;
    if (a.code != b.code)
        mask |= Code;
    // Compared as stored: a recomputed amount that came out the same writes nothing.
    if (a.mass != b.mass)
        mask |= Mass;
    if (a.moles != b.moles)
        mask |= Moles;
    if (a.ea != b.ea)
        mask |= Ea;
    if (a.eb != b.eb)
        mask |= Eb;
    return mask;
}

void putLine(QDataStream& s, const Line& l, quint8 mask) {
    s << mask;
    if (mask & Item) {
        s << bool(l.item);
        if (l.item)
            s << qint32(*l.item);
    }
    if (mask & Code)
        s << l.code;
    if (mask & Mass)
        put(s, l.mass);
    if (mask & Moles)
        put(s, l.moles);
    if (mask & Ea)
        put(s, l.ea);
    if (mask & Eb)
        put(s, l.eb);
}
void takeLine(QDataStream& s, Line& l) {
    quint8 mask = 0;
    s >> mask;
    if (mask & Item) {
        bool present = false;
        s >> present;
        qint32 item = 0;
        if (present)
            s >> item;
        l.item = present ? std::optional<int>(item) : std::nullopt;
    }
    if (mask & Code)
        s >> l.code;
    if (mask & Mass)
        l.mass = takeAmount(s);
    if (mask & Moles)
        l.moles = takeAmount(s);
    if (mask & Ea)
        l.ea = takeAmount(s);
    if (mask & Eb)
        l.eb = takeAmount(s);
}

} // namespace

QByteArray encode(const Recipe& recipe, const Recipe* base) {
    QByteArray raw;
    {
        QDataStream s(&raw, QIODevice::WriteOnly);
        s.setVersion(QDataStream::Qt_6_0);
        s << kFormat << quint8(base ? Difference : Key);
        putHeader(s, recipe.header);
        s << quint32(recipe.lines.size());
        for (size_t i = 0; i < recipe.lines.size(); ++i) {
            const Line& l = recipe.lines[i];
            putLine(s, l, base && i < base->lines.size() ? differing(base->lines[i], l) : kWhole);
        }
    }
    return qCompress(raw, 6);
}

std::optional<Recipe> decode(const QByteArray& bytes, const Recipe* base) {
    const QByteArray raw = qUncompress(bytes);
    QDataStream s(raw);
    s.setVersion(QDataStream::Qt_6_0);
    quint8 format = 0, kind = 0;
    s >> format >> kind;
    if (format != kFormat || (kind != Key && kind != Difference) || (kind == Difference && !base))
        return std::nullopt;
    Recipe r;
    r.header = takeHeader(s);
    quint32 count = 0;
    s >> count;
    if (count > 100000)
        return std::nullopt;
    r.lines.resize(count);
    for (quint32 i = 0; i < count; ++i) {
        if (kind == Difference && i < base->lines.size())
            r.lines[i] = base->lines[i];
        takeLine(s, r.lines[i]);
    }
    if (s.status() != QDataStream::Ok)
        return std::nullopt;
    return r;
}

bool sameKept(const Recipe& a, const Recipe& b) {
    const RecipeHeader &x = a.header, &y = b.header;
    if (x.type != y.type || x.code != y.code || x.description != y.description || x.av != y.av ||
        x.solids != y.solids || x.size != y.size || a.lines.size() != b.lines.size())
        return false;
    for (size_t i = 0; i < a.lines.size(); ++i)
        if (differing(a.lines[i], b.lines[i]))
            return false;
    return true;
}

QByteArray encodeRow(const RowValues& row) {
    QByteArray raw;
    {
        QDataStream s(&raw, QIODevice::WriteOnly);
        s.setVersion(QDataStream::Qt_6_0);
        s << kFormat << quint8(MaterialRecord) << row.toList();
    }
    return qCompress(raw, 6);
}

std::optional<RowValues> decodeRow(const QByteArray& bytes) {
    const QByteArray raw = qUncompress(bytes);
    QDataStream s(raw);
    s.setVersion(QDataStream::Qt_6_0);
    quint8 format = 0, kind = 0;
    s >> format >> kind;
    if (format != kFormat || kind != MaterialRecord)
        return std::nullopt;
    QList<QVariant> values;
    s >> values;
    if (s.status() != QDataStream::Ok)
        return std::nullopt;
    return RowValues::fromList(values);
}

} // namespace VersionCoding
