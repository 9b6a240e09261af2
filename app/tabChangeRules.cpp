#include "app/tabChangeRules.h"

tabChangeRules::outcome tabChangeRules::onCurrentChanged(int nIndex, const switchBack &switchTo)
{
    if (bIgnoreNextTabChange) {
        bIgnoreNextTabChange = false;
        return IGNORED;
    }
    const auto leave = leaveRules.constFind(nLastTab);
    if (leave != leaveRules.constEnd() && *leave && !(*leave)()) {
        bIgnoreNextTabChange = true;
        switchTo(nLastTab);
        // A switch that did not notify (the tab widget already shows that
        // tab) must not swallow the operator's next change.
        bIgnoreNextTabChange = false;
        return UNDONE;
    }
    const auto enter = enterRules.constFind(nIndex);
    if (enter != enterRules.constEnd() && *enter)
        (*enter)();
    nLastTab = nIndex;
    return CHANGED;
}
