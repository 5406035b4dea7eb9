// Files from spreadsheets and other machines read back as values: the encodings and the quoting
// spreadsheets write, the exchange file and the library CSV round-tripped, and every bad file
// and bad row named before anything is stored.
#include "exchange/Export.h"
#include "exchange/Import.h"

#include <gtest/gtest.h>

namespace {

StoredMaterial stored(const QString& code, const QString& name, const QString& type, std::optional<double> mwt,
                      std::optional<double> fa, std::optional<double> fan, std::optional<double> fb,
                      std::optional<double> price) {
    StoredMaterial m;
    m.code = code;
    m.name = name;
    m.chemClass = "Class, with a comma";
    m.type = type;
    m.mwt = mwt;
    m.fa = fa;
    m.fan = fan;
    m.fb = fb;
    m.price = price;
    return m;
}

TEST(Import, TextIsReadInTheEncodingItWasWrittenIn) {
    EXPECT_EQ(Import::decoded("\xEF\xBB\xBF" "Caf\xC3\xA9"), "Café") << "UTF-8 with its byte-order mark";
    EXPECT_EQ(Import::decoded("Caf\xC3\xA9"), "Café") << "UTF-8 without";
    EXPECT_EQ(Import::decoded("Caf\xE9 \x80 \x96 \x93x\x94"), QString::fromUtf8("Café € – “x”")) << "Windows-1252";
}

TEST(Import, CsvRowsAreReadAsRfc4180WritesThem) {
    const std::vector<QStringList> rows =
        Import::csvRows("a,\"b, c\",\"say \"\"hi\"\"\"\r\n\r\n\"two\nlines\",,x\nlast");
    ASSERT_EQ(rows.size(), 4u);
    EXPECT_EQ(rows[0], (QStringList{"a", "b, c", "say \"hi\""}));
    EXPECT_TRUE(rows[1].isEmpty()) << "a blank row";
    EXPECT_EQ(rows[2], (QStringList{"two\nlines", "", "x"}));
    EXPECT_EQ(rows[3], QStringList{"last"});
    // A semicolon file, as a spreadsheet under a decimal comma writes it.
    EXPECT_EQ(Import::csvRows("RMCode;RMMWt\r\nGLY;92,09\r\n")[1], (QStringList{"GLY", "92,09"}));
}

TEST(Import, AnExchangeFileComesBackAsItWasWritten) {
    Recipe r = newRecipe("Alkyd", "EX-1");
    r.header.description = "Ölalkyd, \"kurz\"";
    r.header.date = "2026-12-10T15:00:00";
    Line l;
    l.item = 1;
    l.code = "PA";
    l.mass = 220;
    l.moles = 220 / 148.12;
    l.ea = 2 * 220 / 148.12;
    l.charge = 0.1 + 0.2;
    r.lines = {l, Line{}};
    const StoredMaterial pa = stored("PA", "Phthalic Anhydride", "Acid", 148.12, std::nullopt, 1, std::nullopt, 1.1);
    const auto read = Import::exchangeFile(Export::recipeExchange(r, {pa}));
    ASSERT_TRUE(std::holds_alternative<Import::Exchange>(read)) << std::get<QString>(read).toStdString();
    const Import::Exchange& e = std::get<Import::Exchange>(read);
    EXPECT_EQ(e.recipe.header.description, r.header.description);
    EXPECT_EQ(e.recipe.header.av, r.header.av);
    EXPECT_EQ(e.recipe.header.date, r.header.date);
    ASSERT_EQ(e.recipe.lines.size(), 2u);
    EXPECT_EQ(e.recipe.lines[0].moles, l.moles) << "to the last bit";
    EXPECT_EQ(e.recipe.lines[0].charge, l.charge);
    EXPECT_FALSE(e.recipe.lines[0].eb.has_value());
    EXPECT_FALSE(e.recipe.lines[1].item.has_value());
    ASSERT_EQ(e.materials.size(), 1u);
    EXPECT_TRUE(e.materials[0].sameParts(pa));
}

TEST(Import, EveryBadExchangeFileIsNamedForWhatItIs) {
    const auto why = [](const QByteArray& bytes) {
        const auto read = Import::exchangeFile(bytes);
        return std::holds_alternative<QString>(read) ? std::get<QString>(read).toStdString() : std::string("read");
    };
    const QByteArray whole = Export::recipeExchange(newRecipe("Alkyd", "EX-1"), {});
    EXPECT_EQ(why("PK\x03\x04 not JSON at all"), "The file is not a recipe exchange file.");
    EXPECT_EQ(why("{\"format\": \"something else\", \"version\": 1}"), "The file is not a recipe exchange file.");
    EXPECT_EQ(why("Item,Code\r\n1,PA\r\n"), "The file is not a recipe exchange file.");
    EXPECT_EQ(why(whole.left(whole.size() / 2)).rfind("The file is cut short or damaged: ", 0), 0u);
    QByteArray newer = whole;
    newer.replace("\"version\": 1", "\"version\": 2");
    EXPECT_EQ(why(newer), "The file was written by a newer Kalvora (exchange file version 2; this one reads version "
                          "1 and older).");
    EXPECT_EQ(why(whole), "read");
}

TEST(Import, TheLibraryCsvComesBackUnchanged) {
    const std::vector<StoredMaterial> library = {
        stored("GLY", "Glycerol", "Base", 92.09, std::nullopt, std::nullopt, 3, 1.0),
        stored("PA", "Phthalic Anhydride", "Acid", 148.12, 0, 1, 0, 100000),
        stored("XYL", "Xylene \"mixed\"", "", std::nullopt, std::nullopt, std::nullopt, std::nullopt, std::nullopt)};
    const Import::LibraryFile read = Import::libraryCsv(Export::libraryCsv(library));
    EXPECT_TRUE(read.errors.isEmpty()) << read.errors.join(" | ").toStdString();
    ASSERT_EQ(read.rows.size(), 3u);
    for (size_t i = 0; i < 3; ++i) {
        EXPECT_EQ(read.rows[i].row, int(i) + 2);
        EXPECT_TRUE(read.rows[i].material.sameParts(library[i])) << i;
    }
}

TEST(Import, EveryBadLibraryRowIsListedByNumberAndReason) {
    const Import::LibraryFile read = Import::libraryCsv(
        "RMType,RMCode,RMMWt\r\n"
        "Base,GLY,92.09\r\n"
        "Acid,PA,14x\r\n"
        "Base,,60\r\n"
        "Base,TOOLONGCODE,60\r\n"
        "Solvent,XYL,106\r\n"
        "Base,gly,92\r\n"
        "Acid,PA2,148\r\n");
    EXPECT_EQ(read.errors.join(" | ").toStdString(),
              "Row 3: RMMWt '14x' is not a number. | Row 4: no code. | "
              "Row 5: RMCode 'TOOLONGCODE' is longer than 10 characters. | Row 6: 'Solvent' is no material type. | "
              "Row 7: the code gly is on row 2 already.");
    ASSERT_EQ(read.rows.size(), 2u);
    EXPECT_EQ(read.rows[0].material.code, "GLY");
    EXPECT_EQ(read.rows[1].row, 8);
    EXPECT_EQ(Import::libraryCsv("Item,Code,Mass\r\n1,PA,3\r\n").errors,
              QStringList{"The file is not a library CSV: its first row names no RMCode column."});
}

} // namespace

namespace {

std::optional<QString> starterCode(const QString& typed) {
    for (const char* code : {"GLY", "PA", "PE", "SOYOIL"})
        if (typed.compare(QLatin1String(code), Qt::CaseInsensitive) == 0)
            return QString::fromLatin1(code);
    return std::nullopt;
}

std::string lines(const LinesText::Paste& p) {
    std::string out;
    for (const LinesText::Pasted& r : p.rows)
        out += std::to_string(r.row) + ":" + r.code.toStdString() + "=" + QString::number(r.mass).toStdString() + " ";
    return out + p.errors.join(" | ").toStdString();
}

TEST(Import, AFileIsToldByWhatItHoldsNotByItsName) {
    using K = Import::FileKind;
    EXPECT_EQ(Import::kindOf("\xEF\xBB\xBF  {\"format\": \"Kalvora recipe\"}"), K::Exchange);
    EXPECT_EQ(Import::kindOf("{ cut"), K::Exchange) << "a damaged exchange file is named as one";
    EXPECT_EQ(Import::kindOf("RMType;RMCode\r\nBase;GLY\r\n"), K::LibraryCsv);
    EXPECT_EQ(Import::kindOf("Code,Mass\r\nRMCode,3\r\n"), K::RecipeCsv) << "only the first row's columns count";
    EXPECT_EQ(Import::kindOf(""), K::RecipeCsv);
    EXPECT_EQ(Import::kindOf(QByteArray("PK\x03\x04\0\0", 6)), K::NotText);
}

TEST(Import, ARecipeCsvGivesItsCodesAndMassesAsAPasteWould) {
    // As Calc writes it, with a heading that says where the columns are.
    EXPECT_EQ(lines(Import::recipeCsv("Mass,Note,Code\r\n12.5,\"fine, white\",gly\r\n30,,PA\r\n", starterCode)),
              "2:GLY=12.5 3:PA=30 ");
    // As a German spreadsheet writes it: semicolons and decimal commas, no heading.
    EXPECT_EQ(lines(Import::recipeCsv("GLY;12,5\r\nPA;1.5\r\n", starterCode)), "1:GLY=12.5 2:PA=1.5 ");
    // A heading of other words is passed over; a comma in a comma-separated file's quoted mass is
    // no decimal comma, nor is any thousands separator read.
    EXPECT_EQ(lines(Import::recipeCsv("Material,Menge\r\nGLY,\"12,5\"\r\nPE,\"1,000.5\"\r\n", starterCode)),
              "Row 2: the mass '12,5' is not a number. | Row 3: the mass '1,000.5' is not a number.");
    // An exported recipe: a header above the lines, and the figures below them after a blank row.
    EXPECT_EQ(lines(Import::recipeCsv("Resin Type,Alkyd\r\nBatch Code,LO-SOY65\r\n\r\n"
                                      "Item,Code,Material,Mass,Moles\r\n1,SOYOIL,Soya Bean Oil,650,0.74\r\n"
                                      "2,PE,Pentaerythritol,130,0.95\r\n\r\nFigure,Name,Value\r\nAcid Value,AV,10\r\n",
                                      starterCode)),
              "5:SOYOIL=650 6:PE=130 ");
    EXPECT_EQ(lines(Import::recipeCsv("GLY\t-3\r\nXYZ\t3\r\n\t4\r\nPE\r\n", starterCode)),
              "1:GLY=-3 Row 2: there is no material with the code 'XYZ' in the library. | Row 3: no code. | "
              "Row 4: no mass for PE.")
        << "a negative mass is the lines' to refuse, as a typed one is";
}

} // namespace

namespace {

TEST(Import, AQuoteOpensACellOnlyAtItsStartAndOneNeverClosedIsNamed) {
    int unclosed = -1;
    const std::vector<QStringList> rows =
        Import::csvRows("A1,Resin 5\" pipe,Acid\r\nA2,Other\",Base\r\n,,\r\n\"\",\r\n", &unclosed);
    EXPECT_EQ(unclosed, 0);
    ASSERT_EQ(rows.size(), 4u);
    EXPECT_EQ(rows[0], (QStringList{"A1", "Resin 5\" pipe", "Acid"})) << "a quote within a cell is text";
    EXPECT_EQ(rows[1], (QStringList{"A2", "Other\"", "Base"})) << "and swallows no row after it";
    EXPECT_TRUE(rows[2].isEmpty()) << "a row of empty cells is blank";
    EXPECT_TRUE(rows[3].isEmpty());

    Import::csvRows("RMCode,RMCommonName\r\nPA,\"Phthalic\r\nGLY,Glycerol\r\n", &unclosed);
    EXPECT_EQ(unclosed, 2);
    const Import::LibraryFile cut = Import::libraryCsv("RMCode,RMCommonName\r\nGLY,Glycerol\r\nPA,\"Phthalic\r\nPE,x\r\n");
    EXPECT_TRUE(cut.rows.empty()) << "nothing of a file whose rest cannot be read";
    EXPECT_EQ(cut.errors, QStringList{"Row 3: a cell opened with a quote is never closed, so the rest of the file "
                                      "cannot be read. Is the file cut short?"});
    EXPECT_EQ(Import::recipeCsv("GLY;1\r\n\"PA;2\r\n", starterCode).errors.size(), 1);
}

TEST(Import, ALibraryCsvIsReadWhateverTheLettersOfItsHeadingsAndNoShortRowEmptiesAPart) {
    EXPECT_EQ(Import::kindOf(" rmcode ;RMType\r\nGLY;Base\r\n"), Import::FileKind::LibraryCsv);
    const Import::LibraryFile read = Import::libraryCsv(" rmcode ,RMPRICE,RMCommonName\r\n"
                                                       "GLY,1.25,Glycerol\r\n"
                                                       "PE,2\r\n"
                                                       ",,\r\n"
                                                       "\xC3\xA9" "1,3,e acute\r\n"
                                                       "\xC3\x89" "1,4,E acute\r\n"
                                                       "gly,5,again\r\n");
    EXPECT_EQ(read.columns, (QStringList{"RMCode", "RMCommonName", "RMPrice"}));
    EXPECT_EQ(read.errors.join(" | ").toStdString(),
              "Row 3: 2 cells where the heading has 3. | Row 7: the code gly is on row 2 already.")
        << "letters beyond ASCII are other codes, as the library's index tells them";
    ASSERT_EQ(read.rows.size(), 3u);
    EXPECT_EQ(read.rows[0].material.price, 1.25);

    // As a German spreadsheet writes it: semicolons and decimal commas.
    const Import::LibraryFile german = Import::libraryCsv("RMPrice;RMCode;RMMWt\r\n1,20;PA;148.12\r\n");
    ASSERT_EQ(german.rows.size(), 1u) << german.errors.join(" | ").toStdString();
    EXPECT_EQ(german.rows[0].material.price, 1.2);
    EXPECT_EQ(german.rows[0].material.mwt, 148.12);
}

TEST(Import, AnExchangeFileOfTheWrongShapeIsNamedBeforeAnythingIsAsked) {
    const auto read = [](const char* lines, const char* materials) {
        const QByteArray json = QByteArray("{\"format\": \"Kalvora recipe\", \"version\": 1, \"header\": {\"type\": "
                                           "\"Alkyd\", \"code\": \"A1\"}, \"lines\": ") +
                                lines + ", \"materials\": " + materials + "}";
        const auto r = Import::exchangeFile(json);
        return std::holds_alternative<QString>(r) ? std::get<QString>(r).toStdString() : std::string("read");
    };
    const char* pa = "{\"code\": \"PA\", \"type\": \"Acid\", \"mwt\": 148.12}";
    EXPECT_EQ(read("[{\"code\": \"PA\", \"mass\": 1}, 5, \"GLY\"]", "[]"),
              "The file is damaged: line 2 is no line; line 3 is no line.");
    EXPECT_EQ(read("[]", (std::string("[") + pa + ", {\"code\": \"pa\", \"type\": \"Acid\", \"mwt\": 150}]").c_str()),
              "The file is damaged: the material pa is in it twice, with different data.");
    EXPECT_EQ(read("[]", (std::string("[") + pa + ", " + pa + "]").c_str()), "read") << "the same material twice is once";
    EXPECT_EQ(read("[]", "[{\"code\": \"PHTHALICANH\", \"type\": \"Anhydride\"}, 7]"),
              "The file is damaged: material 1 (PHTHALICANH): RMCode 'PHTHALICANH' is longer than 10 characters; "
              "'Anhydride' is no material type; material 2 is no material.");
    const auto items = Import::exchangeFile(
        "{\"format\": \"Kalvora recipe\", \"version\": 1, \"header\": {}, \"lines\": [{\"item\": 2.5}, {\"item\": 3}, "
        "{\"item\": 1e9}], \"materials\": []}");
    ASSERT_TRUE(std::holds_alternative<Import::Exchange>(items));
    const std::vector<Line>& lines = std::get<Import::Exchange>(items).recipe.lines;
    EXPECT_FALSE(lines[0].item.has_value()) << "a number no line has is none";
    EXPECT_EQ(lines[1].item, 3);
    EXPECT_FALSE(lines[2].item.has_value());
}

} // namespace
