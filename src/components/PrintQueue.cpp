#include "PrintQueue.h"

#include <cups/cups.h>

namespace PrintQueue {

int submit(const QString& printer, const QString& pdfFile, const QString& title, QString* error) {
    QByteArray name = printer.toLocal8Bit();
    if (name.isEmpty()) {
        cups_dest_t* dest = cupsGetNamedDest(CUPS_HTTP_DEFAULT, nullptr, nullptr);
        if (dest) {
            name = dest->name;
            cupsFreeDests(1, dest);
        }
    }
    if (name.isEmpty()) {
        if (error)
            *error = QStringLiteral("No printer is installed.");
        return 0;
    }
    cups_option_t* options = nullptr;
    int count = 0;
    count = cupsAddOption("copies", "1", count, &options);
    count = cupsAddOption("media", "A4", count, &options);
    count = cupsAddOption("document-format", "application/pdf", count, &options);
    const int job = cupsPrintFile(name.constData(), pdfFile.toLocal8Bit().constData(),
                                  title.toUtf8().constData(), count, options);
    cupsFreeOptions(count, options);
    if (job == 0 && error)
        *error = QString::fromUtf8(cupsLastErrorString());
    return job;
}

} // namespace PrintQueue
