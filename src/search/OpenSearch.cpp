#include "OpenSearch.h"

#include "SearchShortcut.h"
#include "TFrmSearch.h"
#include "WaitCursor.h"

namespace search {

void openSearchWindow(QWidget *from, bool duringPractice)
{
    ui::WaitCursor hourglass;
    TFrmSearch window(from, duringPractice);
    if (!window.prepareIndex())
        return;
    hourglass.restore();
    window.exec();
}

void installSearchShortcut() { ui::setSearchOpener(&openSearchWindow); }

} // namespace search
