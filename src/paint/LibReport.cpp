#include "LibReport.h"

#include "domain/NumberFormat.h"
#include "store/MaterialLibrary.h"

using Report::Anchor;
using Report::Band;
using Report::BandKind;
using Report::Font;
using Report::Item;

namespace {

Font font(double points, bool bold = false, bool underline = false) {
    return Font::arial(points, bold, false, underline);
}

// The materials as stored, each figure in the report's picture.
class LibraryData : public Report::Data {
public:
    explicit LibraryData(std::vector<StoredMaterial> materials) : m_materials(std::move(materials)) {}
    int rowCount() const override { return int(m_materials.size()); }
    QString text(int row, const QString& field) const override {
        const StoredMaterial& m = m_materials[size_t(row)];
        if (field == QLatin1String("RMCode"))
            return m.code;
        if (field == QLatin1String("RMCommonName"))
            return m.name;
        if (field == QLatin1String("RMChemClass"))
            return m.chemClass;
        if (field == QLatin1String("RMType"))
            return m.type;
        if (field == QLatin1String("RMMWt"))
            return NumberFormat::figure(m.mwt, "0.0");
        if (field == QLatin1String("RMFa"))
            return NumberFormat::figure(m.fa, "0.0");
        if (field == QLatin1String("RMFan"))
            return NumberFormat::figure(m.fan, "0.0");
        if (field == QLatin1String("RMFb"))
            return NumberFormat::figure(m.fb, "0.0");
        if (field == QLatin1String("RMPrice"))
            return NumberFormat::figure(m.price, "0.00");
        return QString();
    }

private:
    std::vector<StoredMaterial> m_materials;
};

} // namespace

TFrmLibReport::TFrmLibReport(const MaterialLibrary& library) : m_library(library) {
    Band header{QStringLiteral("PageHeader"), BandKind::EveryPage, 23.5, {}};
    header.items.push_back(Item::image(Report::picture(QStringLiteral(":/reports/library-logo.svg")), 0.3, 0.3, 79.1, 18.8));
    header.items.back().name = QStringLiteral("Logo");
    header.items.push_back(Item::caption(QStringLiteral("Raw Material Library Print Out"), 129.6, 2.6, Anchor::Centre,
                                         font(16, true, true)));
    header.items.push_back(Item::caption(QStringLiteral("Print Date:"), 91.0, 11.1, Anchor::Left, font(12, true)));
    header.items.push_back(Item::cell(QStringLiteral("PrintDate"), 114.8, 0, 11.1, Anchor::Left, font(12, true), false));
    Report1.bands.push_back(std::move(header));

    Band titles{QStringLiteral("ColumnTitles"), BandKind::EveryPage, 6.3, {}};
    Band row{QStringLiteral("Material"), BandKind::Row, 5.3, {}};
    const struct { const char* title; double titleX; const char* field; double fieldX; Anchor anchor; } columns[] = {
        {"Code", 2.1, "RMCode", 2.1, Anchor::Left},
        {"Name", 23.0, "RMCommonName", 22.0, Anchor::Left},
        {"Type", 75.7, "RMType", 75.4, Anchor::Left},
        {"Mol. Mass", 97.4, "RMMWt", 110.6, Anchor::Right},
        {"Acid F.", 117.5, "RMFa", 121.3, Anchor::Centre},
        {"Anhyd. F.", 133.3, "RMFan", 142.6, Anchor::Centre},
        {"Base F.", 152.4, "RMFb", 159.7, Anchor::Centre},
        {"Cost", 170.4, "RMPrice", 168.3, Anchor::Left}};
    for (const auto& c : columns) {
        titles.items.push_back(Item::caption(QString::fromLatin1(c.title), c.titleX, 0.3, Anchor::Left, font(10, true, true)));
        row.items.push_back(Item::dataField(QString::fromLatin1(c.field), c.fieldX, 0.8, c.anchor, font(9)));
    }
    Report1.bands.push_back(std::move(titles));
    Report1.bands.push_back(std::move(row));
}

std::vector<Report::Page> TFrmLibReport::prepare(const QDateTime& prepared) {
    Report1.band(QStringLiteral("PageHeader")).item(QStringLiteral("PrintDate")).text = Report::dateTimeText(prepared);
        // What the library holds on disk: a change pending in the library window is not printed.
    return Report1.layout(LibraryData(m_library.inPrintOrder()));
}
