#pragma once

#include <QTabBar>
#include <QWidget>
#include <functional>

namespace veltra {

// A row of tabs over a framed pane. The pages are ordinary children placed by
// the owner; the control only reports which tab is selected.
class CTabCtrl : public QWidget {
public:
    explicit CTabCtrl(QWidget* parent = nullptr);

    int InsertItem(int index, const QString& text);
    int GetItemCount() const;
    int GetCurSel() const;
    // Selects without notifying, as a program's own selection does.
    int SetCurSel(int index);
    QTabBar& TabBar() { return *m_bar; }

    // Called after the user selected another tab.
    void SetSelChangeHandler(std::function<void()> handler);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void childEvent(QChildEvent* event) override;

private:
    void layoutBar();

    QTabBar* m_bar = nullptr;
    std::function<void()> m_selChange;
};

}  // namespace veltra
