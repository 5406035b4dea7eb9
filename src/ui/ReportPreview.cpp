#include "ReportPreview.h"

#include "Placement.h"
#include "PrinterSetupDialog.h"
#include "ReportOutput.h"
#include "paint/ReportPainter.h"
#include "StatusPanels.h"

#include <QAction>
#include <QGuiApplication>
#include <QScreen>
#include <QLabel>
#include <QPainter>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QStatusBar>
#include <QStyle>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

ReportPreview::ReportPreview(const Report::Definition& definition, std::vector<Report::Page> pages,
                             QPrinter* printer, const QString& title, QWidget* parent)
    : QDialog(parent), m_definition(definition), m_pages(std::move(pages)), m_printer(printer),
      m_previewPrinter(std::make_unique<QPrinter>(QPrinter::ScreenResolution)), m_title(title) {
    setObjectName("ReportPreview");
    setWindowTitle(QStringLiteral("Print Preview"));
    setWindowFlag(Qt::WindowMaximizeButtonHint);
    // The screen shows the report's own paper, from its corner.
    m_previewPrinter->setFullPage(true);
    m_previewPrinter->setPageLayout(QPageLayout(QPageSize(definition.paperSize, QPageSize::Millimeter),
                                                QPageLayout::Portrait, QMarginsF()));
    Preview = new QPrintPreviewWidget(m_previewPrinter.get(), this);
    Preview->setObjectName("Preview");
    Preview->setViewMode(QPrintPreviewWidget::SinglePageView);
    connect(Preview, &QPrintPreviewWidget::paintRequested, this, &ReportPreview::paintPages);
    connect(Preview, &QPrintPreviewWidget::previewChanged, this, &ReportPreview::updatePaging);

    auto* bar = new QToolBar;
    bar->setObjectName("PreviewBar");
    // Zoom by name, page by arrow, the commands with both.
    enum class Look { Text, Icon, Both };
    const auto add = [&](const char* name, const QString& text, QStyle::StandardPixmap icon, Look look,
                         const QKeySequence& key, auto slot) {
        QAction* a = look == Look::Text ? new QAction(text, this) : new QAction(style()->standardIcon(icon), text, this);
        a->setObjectName(name);
        a->setShortcut(key);
        const QString plain = QString(text).remove(u'&');
        a->setToolTip(key.isEmpty() ? plain : QStringLiteral("%1 (%2)").arg(plain, key.toString(QKeySequence::NativeText)));
        connect(a, &QAction::triggered, this, slot);
        bar->addAction(a);
        auto* button = qobject_cast<QToolButton*>(bar->widgetForAction(a));
        button->setToolButtonStyle(look == Look::Text   ? Qt::ToolButtonTextOnly
                                   : look == Look::Icon ? Qt::ToolButtonIconOnly
                                                        : Qt::ToolButtonTextBesideIcon);
        return a;
    };
    ZoomFit = add("ZoomFit", QStringLiteral("Whole Page"), {}, Look::Text, Qt::CTRL | Qt::Key_1,
                  [this] { Preview->fitInView(); });
    ZoomFull = add("ZoomFull", QStringLiteral("100 %"), {}, Look::Text, Qt::CTRL | Qt::Key_2, [this] {
        Preview->setZoomMode(QPrintPreviewWidget::CustomZoom);
        Preview->setZoomFactor(1.0);
    });
    ZoomWidth = add("ZoomWidth", QStringLiteral("Page Width"), {}, Look::Text, Qt::CTRL | Qt::Key_3,
                    [this] { Preview->fitToWidth(); });
    bar->addSeparator();
    FirstPage = add("FirstPage", QStringLiteral("First Page"), QStyle::SP_MediaSkipBackward, Look::Icon, Qt::Key_Home,
                    [this] { showPage(1); });
    PriorPage = add("PriorPage", QStringLiteral("Previous Page"), QStyle::SP_MediaSeekBackward, Look::Icon,
                    Qt::Key_PageUp, [this] { showPage(currentPage() - 1); });
    m_pageLabel = new QLabel;
    m_pageLabel->setObjectName("PageNumber");
    m_pageLabel->setMinimumWidth(100);
    m_pageLabel->setAlignment(Qt::AlignCenter);
    bar->addWidget(m_pageLabel);
    NextPage = add("NextPage", QStringLiteral("Next Page"), QStyle::SP_MediaSeekForward, Look::Icon, Qt::Key_PageDown,
                   [this] { showPage(currentPage() + 1); });
    LastPage = add("LastPage", QStringLiteral("Last Page"), QStyle::SP_MediaSkipForward, Look::Icon, Qt::Key_End,
                   [this] { showPage(pageCount()); });
    bar->addSeparator();
    PrintSetup = add("PrintSetup", QStringLiteral("Print Set&up..."), QStyle::SP_FileDialogDetailedView, Look::Both, {},
                     &ReportPreview::printSetup);
    Print = add("Print", QStringLiteral("&Print"), QStyle::SP_DialogApplyButton, Look::Both, QKeySequence::Print,
                &ReportPreview::print);
    SaveAsPdf = add("SaveAsPdf", QStringLiteral("&Save as PDF..."), QStyle::SP_DialogSaveButton, Look::Both,
                    QKeySequence::Save, &ReportPreview::saveAsPdf);
    bar->addSeparator();
    ClosePreview = add("ClosePreview", QStringLiteral("&Close"), QStyle::SP_DialogCloseButton, Look::Both, {},
                       &QDialog::accept);

    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    column->addWidget(bar);
    column->addWidget(Preview, 1);
    Status = new QStatusBar;
    Status->setObjectName("PreviewStatus");
    Status->setSizeGripEnabled(false);
    column->addWidget(Status);
    // As tall as the screen allows, so that a whole page can be seen at once.
    QSize size(900, 1000);
    if (const QScreen* screen = parent ? parent->screen() : QGuiApplication::primaryScreen())
        size = size.boundedTo(screen->availableGeometry().size() * 0.95);
    resize(size);
    Preview->updatePreview();
    Preview->fitInView();
    showPage(1);
}

ReportPreview::~ReportPreview() = default;

int ReportPreview::pageCount() const { return Preview->pageCount(); }
int ReportPreview::currentPage() const { return Preview->currentPage(); }

void ReportPreview::paintPages(QPrinter* printer) {
    // The pages are laid out already: painting them is all the preview asks for.
    QPainter painter(printer);
    for (size_t n = 0; n < m_pages.size(); ++n) {
        if (n > 0)
            printer->newPage();
        Report::paintPage(painter, m_pages[n]);
    }
}

void ReportPreview::showPage(int page) {
    Preview->setCurrentPage(qBound(1, page, pageCount()));
    updatePaging();
}

void ReportPreview::updatePaging() {
    const int page = currentPage(), pages = pageCount();
    m_pageLabel->setText(QStringLiteral("Page %1 of %2").arg(page).arg(pages));
    FirstPage->setEnabled(page > 1);
    PriorPage->setEnabled(page > 1);
    NextPage->setEnabled(page < pages);
    LastPage->setEnabled(page < pages);
}

void ReportPreview::printSetup() {
    PrinterSetupDialog dialog(m_printer, this);
    stayAboveOpener(&dialog);
    dialog.exec();
}

void ReportPreview::print() { noteWritten(ReportOutput::print(this, *m_printer, m_definition, m_pages, m_title)); }

void ReportPreview::saveAsPdf() { noteWritten(ReportOutput::saveAsPdf(this, m_definition, m_pages, m_title)); }

void ReportPreview::noteWritten(const QString& file) {
    if (!file.isEmpty())
        Status->showMessage(ReportOutput::writtenNote(file), StatusPanels::NoteTime);
}
