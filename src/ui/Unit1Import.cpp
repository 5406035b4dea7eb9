// File > Import..: a recipe exchange file, a library CSV, or lines of a code and a mass.
#include "Unit1.h"

#include "FileDialog.h"
#include "Input.h"
#include "LibraryImportForm.h"
#include "MaterialConflict.h"
#include "MessageBox.h"
#include "StatusPanels.h"
#include "components/TextKey.h"
#include "edit/DModUnit.h"
#include "exchange/Import.h"
#include "exchange/LibraryPreview.h"
#include "store/Tables.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSet>

namespace {

QString shownPath(const QString& path) { return QDir::toNativeSeparators(path); }

// A file of the wrong kind can fault on every row: the box names the first few dozen and counts
// the rest, and stays on the screen.
QString listed(const QStringList& faults) {
    constexpr int kMost = 30;
    if (faults.size() <= kMost)
        return faults.join(u'\n');
    return QStringList(faults.mid(0, kMost)).join(u'\n') +
           QStringLiteral("\n... and %1 more rows like these.").arg(faults.size() - kMost);
}

// Larger than any recipe or library a chemist keeps: a file picked by mistake.
constexpr qint64 kLargestFile = 64 * 1024 * 1024;

} // namespace

std::optional<QString> TForm1::knownCode(const QString& typed) const {
    const QString code = m_dmod->materialCode(typed);
    return m_dmod->library().find(code) ? std::optional<QString>(code) : std::nullopt;
}

void TForm1::Open1Click() {
    // What is typed and pending is stored first, as Save stores it: the import is then the last
    // action, and Ctrl+Z takes it back before the typing.
    if (!m_dmod || !storePending())
        return;
    const QString path = FileDialog::openFileName(
        this, QStringLiteral("Import"),
        QStringLiteral("Recipes and libraries (*.kalvora-recipe *.csv);;Recipe exchange file (*.kalvora-recipe);;"
                       "CSV file (*.csv);;All files (*)"));
    if (!path.isEmpty())
        importFile(path);
}

void TForm1::importFile(const QString& path) {
    if (!m_dmod)
        return;
    // A file named on the command line is imported before the window first has the focus: that
    // first focus must not take the chemist back to the first recipe of the type.
    m_entered = true;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        MessageBox::commandError(this, QStringLiteral("Cannot open file %1: %2").arg(shownPath(path), file.errorString()));
        return;
    }
    if (file.size() > kLargestFile) {
        MessageBox::commandError(this, QStringLiteral("%1 cannot be imported: at %2 MB it is larger than any recipe or "
                                                      "library.")
                                           .arg(shownPath(path))
                                           .arg(file.size() / (1024 * 1024)));
        return;
    }
    const QByteArray bytes = file.readAll();
    // The content says what the file is; a name ending as an exchange file's is read as one, so
    // that a damaged one is named so.
    const Import::FileKind kind = QFileInfo(path).suffix().compare(QLatin1String("kalvora-recipe"), Qt::CaseInsensitive) == 0
                                      ? Import::FileKind::Exchange
                                      : Import::kindOf(bytes);
    switch (kind) {
    case Import::FileKind::Exchange:
        importExchange(path, bytes);
        break;
    case Import::FileKind::LibraryCsv:
        importLibrary(path, bytes);
        break;
    case Import::FileKind::RecipeCsv:
        importLines(path, bytes);
        break;
    case Import::FileKind::NotText:
        MessageBox::commandError(this, QStringLiteral("%1 cannot be imported: it is neither a recipe exchange file nor "
                                                      "a CSV file.")
                                           .arg(shownPath(path)));
        break;
    }
}

void TForm1::importExchange(const QString& path, const QByteArray& bytes) {
    const std::variant<Import::Exchange, QString> read = Import::exchangeFile(bytes);
    if (const QString* why = std::get_if<QString>(&read)) {
        MessageBox::commandError(this, QStringLiteral("%1 cannot be imported: %2").arg(shownPath(path), *why));
        return;
    }
    const Import::Exchange& exchange = std::get<Import::Exchange>(read);
    const std::vector<StoredMaterial> library = m_dmod->materials().inListOrder();
    const Import::ExchangeMaterials materials = Import::againstLibrary(exchange, library);
    if (!materials.unknown.isEmpty()) {
        MessageBox::commandError(this, QStringLiteral("%1 cannot be imported: its lines use %2, which neither the file "
                                                      "nor the library has.")
                                           .arg(shownPath(path), materials.unknown.join(QStringLiteral(", "))));
        return;
    }
    if (const QStringList faults = TDMod::ImportFaults(exchange.recipe); !faults.isEmpty()) {
        MessageBox::commandError(this, QStringLiteral("%1 cannot be imported:\n").arg(shownPath(path)) + listed(faults));
        return;
    }
    ImportedRecipe imported{exchange.recipe, materials.missing, {}};

    // Each material the library has with other data is the chemist's to decide, before the name.
    QSet<QString> taken; // folded codes of the library and of the materials the import adds
    for (const StoredMaterial& m : library)
        taken.insert(TextKey::fold(m.code.trimmed()));
    for (const StoredMaterial& m : materials.missing)
        taken.insert(TextKey::fold(m.code.trimmed()));
    const int width = Tables::rmLib().columns[size_t(Tables::rmLib().columnIndex(QStringLiteral("RMCode")))].width;
    const auto isTaken = [&taken](const QString& code) { return taken.contains(TextKey::fold(code)); };
    const auto check = [&](const QString& code) -> QString {
        if (code.isEmpty())
            return QStringLiteral("Enter a code for the file's material.");
        if (code.size() > width)
            return QStringLiteral("The code '%1' is longer than %2 characters.").arg(code).arg(width);
        if (isTaken(code))
            return QStringLiteral("The library has a material with the code '%1' already.").arg(code);
        return QString();
    };
    for (const Import::ExchangeMaterials::Differing& d : materials.differing) {
        TFrmMaterialConflict dialog(this, d.library, d.file, Import::freeCode(d.library.code, isTaken, width), check);
        switch (dialog.ask()) {
        case TFrmMaterialConflict::Choice::UseLibrary:
            break; // the lines are worked out from their masses with it
        case TFrmMaterialConflict::Choice::NewCode: {
            StoredMaterial beside = d.file;
            beside.code = dialog.newCode();
            beside.id = 0;
            imported.added.push_back(beside);
            imported.recoded.insert(TextKey::fold(d.file.code.trimmed()), beside.code);
            taken.insert(TextKey::fold(beside.code));
            break;
        }
        case TFrmMaterialConflict::Choice::Cancel:
            return;
        }
    }
    if (m_input->OpenForImport(imported))
        StatusBar1->showNote(QStringLiteral("Imported %1, %2 from %3")
                                 .arg(m_dmod->headers().header().type, m_dmod->headers().header().code, shownPath(path)));
}

void TForm1::importLibrary(const QString& path, const QByteArray& bytes) {
    const Import::LibraryFile read = Import::libraryCsv(bytes);
    if (read.rows.empty() && read.errors.isEmpty()) {
        MessageBox::commandError(this, QStringLiteral("%1 holds no materials to import.").arg(shownPath(path)));
        return;
    }
    const Import::LibraryPreview preview = Import::libraryPreview(read, m_dmod->materials().inListOrder());
    TFrmLibraryImport dialog(this, QFileInfo(path).fileName(), preview);
    if (dialog.exec() != QDialog::Accepted)
        return;
    if (act([&] { m_dmod->ImportMaterials(preview.toStore()); }))
        StatusBar1->showNote(QStringLiteral("Imported %1 new and %2 changed materials from %3")
                                 .arg(preview.count(Import::LibraryChange::Kind::New))
                                 .arg(preview.count(Import::LibraryChange::Kind::Changed))
                                 .arg(shownPath(path)));
}

void TForm1::importLines(const QString& path, const QByteArray& bytes) {
    const LinesText::Paste lines = Import::recipeCsv(bytes, [this](const QString& typed) { return knownCode(typed); });
    if (!lines.errors.isEmpty()) {
        MessageBox::commandError(this, QStringLiteral("Nothing was imported from %1:\n").arg(shownPath(path)) +
                                           listed(lines.errors));
        return;
    }
    if (lines.rows.empty()) {
        MessageBox::commandError(this, QStringLiteral("%1 holds no lines to import: rows of a code and a mass, a "
                                                      "library with an RMCode column, or a recipe exchange file.")
                                           .arg(shownPath(path)));
        return;
    }
    if (act([&] { m_dmod->PasteLines(lines.rows, QStringLiteral("Import")); }))
        StatusBar1->showNote((lines.rows.size() == 1 ? QStringLiteral("Imported 1 line from %2")
                                                     : QStringLiteral("Imported %1 lines from %2").arg(lines.rows.size()))
                                 .arg(shownPath(path)));
}
