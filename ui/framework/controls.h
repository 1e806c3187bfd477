#pragma once

#include <QLabel>
#include <QLineEdit>
#include <QRect>
#include <QString>

namespace veltra {

// The id a control carries, found again by CDialog::GetDlgItem.
void setControlId(QWidget& control, int id);
int controlId(const QWidget& control);  // noControlId when it has none

// Static text or image holder.
class CStatic : public QLabel {
public:
    CStatic() = default;

    // Makes the control a visible child of `parent` at `rect` (parent pixels).
    bool Create(const QString& text, Qt::Alignment alignment, const QRect& rect, QWidget* parent, int id);
};

// Single-line edit.
class CEdit : public QLineEdit {
public:
    CEdit() = default;

    // Makes the control a visible child of `parent` at `rect` (parent pixels),
    // with a thin border and centred text.
    bool Create(bool tabStop, const QRect& rect, QWidget* parent, int id);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    bool m_thinBorder = false;
};

}  // namespace veltra
