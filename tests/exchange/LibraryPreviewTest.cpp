// Materials from files held against the library before anything is stored: a library CSV's rows
// as new, changed or unchanged, and an exchange file's materials as missing, differing or the
// library's own.
#include "exchange/Export.h"
#include "exchange/LibraryPreview.h"

#include <gtest/gtest.h>

namespace {

StoredMaterial stored(qint64 id, const QString& code, const QString& name, std::optional<double> mwt,
                      std::optional<double> price) {
    StoredMaterial m;
    m.id = id;
    m.code = code;
    m.name = name;
    m.chemClass = "Polyol";
    m.type = "Base";
    m.mwt = mwt;
    m.fb = 3;
    m.price = price;
    return m;
}

const std::vector<StoredMaterial> kLibrary = {stored(1, "GLY", "Glycerol", 92.09, 1.0),
                                              stored(2, "PE", "Pentaerythritol", 136.15, 1.75),
                                              stored(3, "PE", "Pentaerythritol, older", 136, 1.5),
                                              stored(4, "TMP", "Trimethylolpropane", 134.17, std::nullopt)};

TEST(LibraryPreview, TheLibraryExportedAndReadBackIsUnchangedEveryRow) {
    const Import::LibraryPreview p =
        Import::libraryPreview(Import::libraryCsv(Export::libraryCsv(kLibrary)), kLibrary);
    EXPECT_EQ(p.count(Import::LibraryChange::Kind::Unchanged), 3) << "the second PE is the file's duplicate";
    EXPECT_EQ(p.errors, QStringList{"Row 4: the code PE is on row 3 already."});
    EXPECT_TRUE(p.toStore().empty());
}

TEST(LibraryPreview, EachRowIsNewChangedOrUnchangedAndOnlyItsColumnsChange) {
    const Import::LibraryPreview p = Import::libraryPreview(Import::libraryCsv("RMCode,RMCommonName,RMPrice\r\n"
                                                                              "pe, Pentaerythritol ,1.8\r\n"
                                                                              "GLY,Glycerol,1\r\n"
                                                                              "TMP,Trimethylolpropane,2\r\n"
                                                                              "NPG,Neopentyl Glycol,1.9\r\n"
                                                                              "gly2,,\r\n"),
                                                            kLibrary);
    ASSERT_EQ(p.rows.size(), 5u);
    using K = Import::LibraryChange::Kind;
    // Matched whatever the letter case, to the first stored of a code an older library holds
    // twice; spaces around a name are no change.
    EXPECT_EQ(p.rows[0].kind, K::Changed);
    EXPECT_EQ(p.rows[0].material.id, 2);
    EXPECT_EQ(p.rows[0].material.code, "PE");
    EXPECT_EQ(p.rows[0].changes.join(" | ").toStdString(), "Cost Price: 1.75 to 1.8");
    EXPECT_EQ(p.rows[0].material.mwt, 136.15) << "a part the file has no column for stays as stored";
    EXPECT_EQ(p.rows[0].material.name, "Pentaerythritol");
    EXPECT_EQ(p.rows[1].kind, K::Unchanged);
    EXPECT_EQ(p.rows[2].changes, QStringList{"Cost Price: (empty) to 2"});
    EXPECT_EQ(p.rows[3].kind, K::New);
    EXPECT_EQ(p.rows[3].material.id, 0);
    EXPECT_EQ(p.rows[3].row, 5);
    EXPECT_EQ(p.rows[4].kind, K::New);
    const std::vector<StoredMaterial> toStore = p.toStore();
    ASSERT_EQ(toStore.size(), 4u);
    EXPECT_EQ(toStore[1].code, "TMP");
}

TEST(LibraryPreview, AnExchangeFilesMaterialsAreMissingDifferingOrTheLibrarys) {
    Import::Exchange e;
    e.materials = {stored(0, "gly", "Glycerol", 92.09, 1.0), stored(0, "PE", "Pentaerythritol", 136.2, 1.75),
                   stored(0, "NPG", "Neopentyl Glycol", 104.15, 1.9)};
    for (const char* code : {"gly", "PE", "NPG", "XYZ", "", "xyz"}) {
        Line l;
        l.code = QString::fromLatin1(code);
        e.recipe.lines.push_back(l);
    }
    const Import::ExchangeMaterials m = Import::againstLibrary(e, kLibrary);
    ASSERT_EQ(m.missing.size(), 1u);
    EXPECT_EQ(m.missing[0].code, "NPG");
    ASSERT_EQ(m.differing.size(), 1u);
    EXPECT_EQ(m.differing[0].library.id, 2) << "the first stored of the code";
    EXPECT_EQ(m.differing[0].file.mwt, 136.2);
    EXPECT_TRUE(std::none_of(m.differing.begin(), m.differing.end(),
                             [](const auto& d) { return d.library.code == "GLY"; }))
        << "the same material in other letters is the library's";
    EXPECT_EQ(m.unknown, (QStringList{"XYZ", "xyz"})) << "a line without a code needs no material";

    const auto taken = [](const QString& c) { return c == "PE-2" || c == "LONGCODE-3"; };
    EXPECT_EQ(Import::freeCode("PE", taken, 10), "PE-3");
    EXPECT_EQ(Import::freeCode("LONGCODE10", taken, 10), "LONGCODE-2") << "shortened to fit";
}

} // namespace
