#pragma once

#include <QLabel>
#include <QLineEdit>
#include <QRect>
#include <array>
#include <utility>
#include <QString>

namespace veltra {

// The id a control carries, found again by CDialog::GetDlgItem.
void setControlId(QWidget& control, int id);
int controlId(const QWidget& control);  // noControlId when it has none

// Static text or image holder.
class CStatic : public QLabel {
public:
    explicit CStatic(QWidget* parent = nullptr) : QLabel(parent) {}

    // Makes the control a visible child of `parent` at `rect` (parent pixels).
    bool Create(const QString& text, Qt::Alignment alignment, const QRect& rect, QWidget* parent, int id);
};

// Single-line edit.
class CEdit : public QLineEdit {
public:
    explicit CEdit(QWidget* parent = nullptr) : QLineEdit(parent) {}

    // Makes the control a visible child of `parent` at `rect` (parent pixels),
    // with a thin border and centred text.
    bool Create(bool tabStop, const QRect& rect, QWidget* parent, int id);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    bool m_thinBorder = false;
};

// N controls made at once, for a page that holds its controls by value; with
// a null parent they join the page later, in the order their Create runs.
template <typename Control, std::size_t... I>
std::array<Control, sizeof...(I)> makeChildControls(QWidget* parent, std::index_sequence<I...>)
{
    return {{((void)I, Control(parent))...}};
}

}  // namespace veltra
