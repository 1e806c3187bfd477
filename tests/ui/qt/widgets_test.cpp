#include <QApplication>
#include <QFontMetricsF>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <gtest/gtest.h>

#include "tests/ui/qt/qt_driver.h"
#include "tests/ui/window_fixture.h"
#include "ui/res/templates.h"

// What only Qt's widgets can tell: dialog units measured from Qt's font, the
// builder's pixels and tab order, the real prompts' boxes, colours as painted,
// images as drawn, and what the desktop is told.
namespace veltra::testing {
namespace {

using qt::widgetOf;

// A bare dialog made from a template, without the window's own behaviour.
class PlainDialog : public CDialog {
public:
    explicit PlainDialog(const DialogTemplate& t) : CDialog(t) {}
};

TEST(DialogUnits, FollowTheDialogFontsLetterWidthAndHeight)
{
    PlainDialog dialog(res::mainDialog);
    dialog.Create();
    const QFont font = widget(dialog).font();
    const QFontMetricsF metrics(font);
    const DialogUnits& units = dialog.Units();
    EXPECT_NEAR(units.baseX() * 52, metrics.horizontalAdvance("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"),
                1e-6);
    EXPECT_EQ(units.baseY(), std::ceil(metrics.height()));
    EXPECT_EQ(font.pointSize(), 8);
    EXPECT_EQ(font.family(), QApplication::font().family());

    // Neighbours in dialog units stay neighbours in pixels.
    for (int x = 0; x < 300; x += 7) {
        EXPECT_EQ(units.toPixels(x, 0, 13, 8).right, units.toPixels(x + 13, 0, 5, 8).left);
        EXPECT_EQ(units.toPixels(0, x, 8, 11).bottom, units.toPixels(0, x + 11, 8, 3).top);
    }
}

TEST(DialogBuilder, EveryTemplateControlStandsAtItsConvertedPlaceInTabOrder)
{
    for (const DialogTemplate* t : {&res::mainDialog, &res::frequencyPage, &res::fanPage, &res::powerPage,
                                    &res::voltagePage, &res::aboutDialog}) {
        PlainDialog dialog(*t);
        dialog.Create();
        QWidget& window = widget(dialog);
        const auto children = window.findChildren<QWidget*>(Qt::FindDirectChildrenOnly);
        ASSERT_EQ(children.size(), static_cast<qsizetype>(t->controls.size())) << t->id;

        std::vector<QWidget*> expectedChain;
        for (std::size_t i = 0; i < t->controls.size(); ++i) {
            const ControlTemplate& c = t->controls[i];
            QWidget* made = children[static_cast<qsizetype>(i)];
            CRect at{c.x, c.y, c.x + c.width, c.y + c.height};
            dialog.MapDialogRect(at);
            EXPECT_EQ(made->pos(), QPoint(at.left, at.top)) << t->id << " #" << i;
            EXPECT_EQ(made->height(), at.Height()) << t->id << " #" << i;
            EXPECT_GE(made->width(), at.Width()) << t->id << " #" << i;
            if (made->focusPolicy() & Qt::TabFocus)
                expectedChain.push_back(made);
        }
        EXPECT_EQ(window.size(), QSize(dialog.Units().toPixelsX(t->width), dialog.Units().toPixelsY(t->height)));

        for (std::size_t i = 0; i + 1 < expectedChain.size(); ++i) {
            QWidget* next = expectedChain[i]->nextInFocusChain();
            while (next != expectedChain[i] && !(next->parentWidget() == &window && (next->focusPolicy() & Qt::TabFocus)))
                next = next->nextInFocusChain();
            EXPECT_EQ(next, expectedChain[i + 1]) << t->id << " after #" << i;
        }
    }
}

TEST(DialogBuilder, EditsAreCentredAndOnlyTheWindowsIdentityFieldsAreReadOnly)
{
    CVeltraDlg dlg;
    dlg.Create();
    for (int id : {res::nameEditId, res::boardEditId, res::dateEditId, res::versionEditId, res::fileNameEditId,
                   res::deviceIdEditId, res::checksumEditId}) {
        auto* edit = widgetOf<QLineEdit>(*dlg.GetDlgItem(id));
        ASSERT_NE(edit, nullptr) << id;
        EXPECT_TRUE(edit->isReadOnly()) << id;
        EXPECT_EQ(edit->alignment() & Qt::AlignHorizontal_Mask, Qt::AlignHCenter) << id;
    }
    for (int tab = 0; tab < 5; ++tab)
        for (QLineEdit* edit : widget(dlg.Page(tab)).findChildren<QLineEdit*>(Qt::FindDirectChildrenOnly)) {
            EXPECT_FALSE(edit->isReadOnly());
            EXPECT_EQ(edit->alignment() & Qt::AlignHorizontal_Mask, Qt::AlignHCenter);
        }
}

// The checksum field's colour reaches the screen, with black text whatever
// the system's text colour; before a load it has the system's colours.
TEST_F(WindowTest, ChecksumFieldIsPaintedInItsColourWithBlackText)
{
    QLineEdit& field = lineEdit(checksum());
    QLineEdit plain;
    plain.setReadOnly(true);
    EXPECT_EQ(field.palette().color(QPalette::Base), QApplication::palette(&plain).color(QPalette::Base));

    ImageSpec bad;
    bad.correctChecksum = false;
    open(writeImage("bad.rom", bad));
    const QColor orangeRed(255, 85, 0);
    EXPECT_EQ(field.palette().color(QPalette::Base), orangeRed);
    EXPECT_EQ(field.palette().color(QPalette::Text), QColor(Qt::black));
    // A pixel inside the frame, away from the text.
    const QImage painted = field.grab().toImage();
    EXPECT_EQ(QColor(painted.pixel(4, painted.height() / 2)), orangeRed);

    QPalette odd = QApplication::palette();
    odd.setColor(QPalette::Text, Qt::yellow);
    QApplication::setPalette(odd);
    EXPECT_EQ(field.palette().color(QPalette::Text), QColor(Qt::black));
    EXPECT_EQ(field.palette().color(QPalette::Base), orangeRed);
    QApplication::setPalette(QPalette());

    open(writeImage("good.rom", ImageSpec{}));
    EXPECT_EQ(field.palette().color(QPalette::Base), QColor(148, 239, 148));
}

// The images are drawn from their SVG at the size asked, for the screen's
// pixels: the logo at its own 111 x 85, the icon wherever it is shown.
TEST(Images, AreDrawnAtTheirSizeForTheScreensPixels)
{
    const struct {
        int id;
        QSize size;
        QSize drawn;
    } cases[] = {
        {res::logoBitmapId, QSize(), QSize(111, 85)},
        {res::appIconId, QSize(), QSize(128, 128)},
        {res::appIconId, QSize(30, 30), QSize(30, 30)},
    };
    for (const auto& c : cases) {
        for (qreal ratio : {1.0, 2.0}) {
            const QPixmap image = qt::loadImage(c.id, c.size, ratio);
            EXPECT_EQ(image.deviceIndependentSize().toSize(), c.drawn) << c.id << " at " << ratio;
            EXPECT_EQ(image.size(), c.drawn * ratio) << c.id << " at " << ratio;
        }
    }
    EXPECT_TRUE(qt::loadImage(129, QSize(), 1.0).isNull());
    // The logo's black ground, its emblem green.
    const QImage logo = qt::loadImage(res::logoBitmapId, QSize(), 1.0).toImage();
    EXPECT_EQ(QColor(logo.pixel(2, 2)), QColor(Qt::black));
    EXPECT_EQ(QColor(logo.pixel(55, 9)), QColor(0x4c, 0xaf, 0x50));
}

// The layer's boxes carry the application's name and the program's own
// texts; it has none of its own.
TEST(Prompts, MessageAndQuestionBoxesAreModalAndTitledWithTheApplicationsName)
{
    QWidget owner;
    const QString title = QCoreApplication::applicationName();
    EXPECT_EQ(title, "Veltra");
    const auto box = qt::makeMessageBox(&owner, "Cannot open bios file!");
    EXPECT_EQ(box->icon(), QMessageBox::Warning);
    EXPECT_EQ(box->text(), "Cannot open bios file!");
    EXPECT_EQ(box->standardButtons(), QMessageBox::Ok);
    EXPECT_EQ(box->buttons().size(), 1);
    EXPECT_EQ(box->windowTitle(), title);
    EXPECT_EQ(box->parentWidget(), &owner);
    EXPECT_NE(box->windowModality(), Qt::NonModal);

    const auto question = qt::makeQuestionBox(&owner, "Discard?");
    EXPECT_EQ(question->icon(), QMessageBox::Question);
    EXPECT_EQ(question->text(), "Discard?");
    EXPECT_EQ(question->standardButtons(), QMessageBox::Yes | QMessageBox::No);
    EXPECT_EQ(static_cast<QAbstractButton*>(question->defaultButton()), question->button(QMessageBox::No));
    EXPECT_EQ(question->escapeButton(), question->button(QMessageBox::No));
    EXPECT_EQ(question->windowTitle(), title);
    EXPECT_EQ(question->parentWidget(), &owner);
    EXPECT_NE(question->windowModality(), Qt::NonModal);
}

TEST(Prompts, FileDialogsOfferTheProgramsFileTypeAndConfirmOverwriting)
{
    const FileQuestion question{"Pick a picture", "Picture(*.png)", "png"};
    for (auto mode : {QFileDialog::AcceptOpen, QFileDialog::AcceptSave}) {
        const auto dialog = qt::makeFileDialog(nullptr, mode, question);
        EXPECT_EQ(dialog->windowTitle(), "Pick a picture");
        EXPECT_EQ(dialog->nameFilters(), QStringList{"Picture(*.png)"});
        EXPECT_EQ(dialog->defaultSuffix(), "png");
        EXPECT_EQ(dialog->acceptMode(), mode);
        EXPECT_FALSE(dialog->testOption(QFileDialog::DontConfirmOverwrite));
        EXPECT_EQ(dialog->fileMode(), mode == QFileDialog::AcceptOpen ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
        EXPECT_NE(dialog->windowModality(), Qt::NonModal);
    }
}

// On Wayland the desktop finds the window's icon and name by its entry.
TEST(WindowSystem, NamesTheProgramAndItsDesktopEntry)
{
    EXPECT_EQ(QCoreApplication::applicationName(), "Veltra");
    EXPECT_EQ(QCoreApplication::applicationVersion(), "1.1");
    EXPECT_EQ(QGuiApplication::desktopFileName(), "org.veltra.Veltra");
}

// A drag of something other than local files is not the window's: a link
// dropped on a page or an identity field is not taken.
TEST_F(WindowTest, DragsOfAnythingButLocalFilesAreNotTaken)
{
    open(writeImage("first.rom", ImageSpec{}));
    const auto before = visibleState();
    const QUrl remote("https://example.com/card.rom");
    const QUrl local = QUrl::fromLocalFile(QString::fromStdString((dir / "first.rom").string()));
    EXPECT_FALSE(dropUrls(dlg, dlg.Page(frequencyTab), {remote}, QPoint(2, 2)));
    EXPECT_FALSE(dropUrls(dlg, edit(res::nameEditId), {local, remote}));
    EXPECT_TRUE(prompts.messages.empty());
    EXPECT_EQ(visibleState(), before);
}

}  // namespace
}  // namespace veltra::testing
