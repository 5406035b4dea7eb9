#include "Workbook.h"

#include "domain/Figures.h"
#include "domain/LineColumns.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryFile>
#include <cstdio>
#include <xlsxwriter.h>

namespace Export {

namespace {

// libxlsxwriter takes UTF-8 C strings.
struct Text {
    explicit Text(const QString& s) : bytes(s.toUtf8()) {}
    operator const char*() const { return bytes.constData(); }
    QByteArray bytes;
};

class Sheets {
public:
    explicit Sheets(const QString& path) : m_book(workbook_new(QFile::encodeName(path).constData())) {}
    ~Sheets() {
        if (m_book)
            workbook_close(m_book);
    }
    lxw_workbook* book() const { return m_book; }
    lxw_error close() {
        lxw_error e = workbook_close(m_book);
        m_book = nullptr;
        return e;
    }
    // One format per number picture, made once.
    lxw_format* picture(const char* pattern) {
        if (!pattern)
            return nullptr;
        for (const auto& [p, f] : m_formats)
            if (qstrcmp(p, pattern) == 0)
                return f;
        lxw_format* f = workbook_add_format(m_book);
        format_set_num_format(f, pattern);
        m_formats.emplace_back(pattern, f);
        return f;
    }

private:
    lxw_workbook* m_book;
    std::vector<std::pair<const char*, lxw_format*>> m_formats;
};

void number(lxw_worksheet* s, int row, int col, const std::optional<double>& v, lxw_format* f) {
    if (v)
        worksheet_write_number(s, lxw_row_t(row), lxw_col_t(col), *v, f);
}

} // namespace

QString recipeXlsx(const QString& path, const Recipe& recipe, const MaterialLookup& library,
                   const TReactionTotals& totals) {
    const QString name = QFileInfo(path).fileName();
    // Written beside the file under another name, then put in its place whole.
    QTemporaryFile part(QFileInfo(path).absoluteDir().filePath(QStringLiteral(".%1.XXXXXX").arg(name)));
    if (!part.open())
        return QStringLiteral("Cannot write %1: %2. The file was not written.").arg(name, part.errorString());
    part.close();
    lxw_error error = LXW_NO_ERROR;
    {
        Sheets book(part.fileName());
        if (!book.book())
            return QStringLiteral("Cannot write %1: the workbook could not be made.").arg(name);
        lxw_format* bold = workbook_add_format(book.book());
        format_set_bold(bold);

        lxw_worksheet* lines = workbook_add_worksheet(book.book(), "Recipe");
        const RecipeHeader& h = recipe.header;
        const std::pair<const char*, QString> words[] = {
            {"Resin Type", h.type}, {"Batch Code", h.code}, {"Description", h.description}, {"Date", h.date}};
        int row = 0;
        for (const auto& [caption, text] : words) {
            worksheet_write_string(lines, lxw_row_t(row), 0, caption, bold);
            worksheet_write_string(lines, lxw_row_t(row++), 1, Text(text), nullptr);
        }
        const std::tuple<const char*, std::optional<double>, const char*> sizes[] = {
            {"Acid Value", h.av, kAcidValuePicture}, {"Percent Solids", h.solids, kSolidsPicture},
            {"Batch Size", h.size, kBatchSizePicture}};
        for (const auto& [caption, v, pattern] : sizes) {
            worksheet_write_string(lines, lxw_row_t(row), 0, caption, bold);
            number(lines, row++, 1, v, book.picture(pattern));
        }
        ++row;
        const char* headings[] = {"Item", "Code", "Material", "Mass", "Moles", "Ea", "Eb", "Charge", "Percent", "Cost"};
        for (int c = 0; c < LineColumnCount; ++c)
            worksheet_write_string(lines, lxw_row_t(row), lxw_col_t(c), headings[c], bold);
        ++row;
        for (const Line& l : recipe.lines) {
            const Material* m = library.find(l.code);
            if (l.item)
                worksheet_write_number(lines, lxw_row_t(row), 0, *l.item, nullptr);
            worksheet_write_string(lines, lxw_row_t(row), 1, Text(l.code), nullptr);
            worksheet_write_string(lines, lxw_row_t(row), 2, Text(m ? m->name : QString()), nullptr);
            for (LineColumn c : {LineColumn::Mass, LineColumn::Moles, LineColumn::Ea, LineColumn::Eb, LineColumn::Charge,
                                 LineColumn::Percent, LineColumn::Cost})
                number(lines, row, int(c), l.*lineAmount(c), book.picture(lineColumnFormat(c).picture));
            ++row;
        }
        worksheet_set_column(lines, 0, 0, 14, nullptr);
        worksheet_set_column(lines, 2, 2, 30, nullptr);
        worksheet_set_column(lines, 3, 9, 12, nullptr);

        lxw_worksheet* shown = workbook_add_worksheet(book.book(), "Figures");
        worksheet_write_string(shown, 0, 0, "Figure", bold);
        worksheet_write_string(shown, 0, 1, "Name", bold);
        worksheet_write_string(shown, 0, 2, "Value", bold);
        row = 1;
        for (const Figure& f : figures()) {
            worksheet_write_string(shown, lxw_row_t(row), 0, Text(f.caption()), nullptr);
            worksheet_write_string(shown, lxw_row_t(row), 1, f.name, nullptr);
            worksheet_write_number(shown, lxw_row_t(row++), 2, f.value(totals),
                                   book.picture(f.panelFormat ? f.panelFormat : f.reportFormat));
        }
        worksheet_set_column(shown, 0, 1, 20, nullptr);
        error = book.close();
    }
    if (error != LXW_NO_ERROR)
        return QStringLiteral("Cannot write %1: %2. The file was not written.").arg(name, QString::fromUtf8(lxw_strerror(error)));
    // Readable as any file the user writes, or as the file it replaces.
    const QFileDevice::Permissions readable =
        QFile::exists(path) ? QFile::permissions(path)
                            : QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadGroup | QFileDevice::ReadOther;
    QFile::setPermissions(part.fileName(), readable);
    // Put in place whole: a rename replaces what was there at once.
    if (std::rename(QFile::encodeName(part.fileName()).constData(), QFile::encodeName(path).constData()) != 0)
        return QStringLiteral("Cannot write %1: it could not replace the file there. The file was not written.").arg(name);
    part.setAutoRemove(false);
    return QString();
}

} // namespace Export
