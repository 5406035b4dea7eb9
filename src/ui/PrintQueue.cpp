#include "PrintQueue.h"

#include <QFile>
#include <cups/cups.h>

namespace PrintQueue {

int submit(const QString& printer, const QString& pdfFile, const QString& title, QString* error) {
    // Qt names a printer's instance as "printer/instance"; the queue is the printer, and the
    // instance brings its own options.
    const QByteArray queue = printer.section(u'/', 0, 0).toLocal8Bit();
    const QByteArray instance = printer.section(u'/', 1).toLocal8Bit();
    cups_dest_t* dest = cupsGetNamedDest(CUPS_HTTP_DEFAULT, queue.isEmpty() ? nullptr : queue.constData(),
                                         instance.isEmpty() ? nullptr : instance.constData());
    if (!dest) {
        if (error)
            *error = queue.isEmpty() ? QStringLiteral("No printer is installed.")
                                     : QString::fromUtf8(cupsLastErrorString());
        return 0;
    }
    cups_option_t* options = nullptr;
    int count = 0;
    for (int i = 0; i < dest->num_options; ++i)
        count = cupsAddOption(dest->options[i].name, dest->options[i].value, count, &options);
    count = cupsAddOption("copies", "1", count, &options);
    count = cupsAddOption("media", "A4", count, &options);
    count = cupsAddOption("document-format", "application/pdf", count, &options);
    const int job = cupsPrintFile(dest->name, QFile::encodeName(pdfFile).constData(), title.toUtf8().constData(),
                                  count, options);
    cupsFreeOptions(count, options);
    cupsFreeDests(1, dest);
    if (job == 0 && error)
        *error = QString::fromUtf8(cupsLastErrorString());
    return job;
}

} // namespace PrintQueue
