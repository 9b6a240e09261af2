#ifndef TABCHANGERULES_H
#define TABCHANGERULES_H

#include <QHash>

#include <functional>

// The decision machine behind the main window's tab changes: the tab that is
// left may refuse (the change is then undone by switching back, and the
// tab-change notification that switch causes is swallowed), the tab that is
// entered prepares itself. Each tab registers its rules; a tab without rules
// is simply left and entered.
class tabChangeRules
{
public:
    // Returns true when the change may go on, false to undo it.
    using leaveRule = std::function<bool()>;
    using enterRule = std::function<void()>;
    // Switches the tab widget to the given index (emitting its change signal).
    using switchBack = std::function<void(int)>;

    enum outcome {
        IGNORED,  // the notification of a switch back made by these rules
        UNDONE,   // the left tab refused; the tab widget is back on it
        CHANGED,  // left and entered
    };

    void setLeaveRule(int nTab, leaveRule rule) { leaveRules.insert(nTab, std::move(rule)); }
    void setEnterRule(int nTab, enterRule rule) { enterRules.insert(nTab, std::move(rule)); }

    // Handles one change of the current tab to nIndex.
    outcome onCurrentChanged(int nIndex, const switchBack &switchTo);

    // The tab that was current before the change being handled; -1 before the
    // first change.
    int nLastTab = -1;
    // The next notification is a switch back made by these rules.
    bool bIgnoreNextTabChange = false;

private:
    QHash<int, leaveRule> leaveRules;
    QHash<int, enterRule> enterRules;
};

#endif // TABCHANGERULES_H
