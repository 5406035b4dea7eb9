#pragma once

#include "Report.h"

#include <QFont>

class QPainter;
class QPaintDevice;
class QPagedPaintDevice;

// Draws laid-out report pages. The painter's device must show the paper from its top-left corner
// (a printer in full-page mode, a PDF writer without margins, an image of the page).
namespace Report {

// Draws one page on a painter that is active on its device.
void paintPage(QPainter& painter, const Page& page);

// Sets the device up for the definition's paper, without margins, and draws every page on it.
// `pageDone(n)` is called after page n (from 1) and may return false to stop. Returns false when
// stopped or when the device could not be painted on.
bool print(QPagedPaintDevice& device, const Definition& definition, const std::vector<Page>& pages,
           const std::function<bool(int)>& pageDone = {});

QFont qtFont(const Font& font);

} // namespace Report
