// The message box as the user sees it.
#include "harness/TestEnv.h"
#include "platform/MsgBoxDialog.h"

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QPushButton>

using namespace platform;

TEST(MsgBoxTest, AShortMessageIsWideEnoughForItsWholeCaption)
{
    QFont titleFont = QApplication::font("QMdiSubWindowTitleBar");
    titleFont.setBold(true);
    const QFontMetrics fm(titleFont);
    // The caption bar holds the caption, centred, between the window's icon and three buttons.
    const int captionBar = fm.horizontalAdvance("Gestione Verbanto") + 6 * fm.height();
    int shortWidth = 0;
    for (int style : {vbExclamation, vbInformation, vbCritical, vbYesNo}) {
        SCOPED_TRACE(style);
        const auto box = BuildMessageBox("Ok", style, "Gestione Verbanto");
        box->show();   // Qt sizes a message box as it shows it
        EXPECT_GE(box->width(), captionBar);
        shortWidth = box->width();
        EXPECT_EQ(box->windowTitle(), "Gestione Verbanto");
        box->hide();
    }
    // A long prompt still widens the box beyond what its caption needs.
    const auto wide = BuildMessageBox("Error 13 (Type mismatch) in procedure cmdOK_Click of Form frmEditPagamenti",
                                      vbExclamation, "Gestione Verbanto");
    wide->show();
    EXPECT_GT(wide->width(), shortWidth);
}

TEST(MsgBoxTest, AQuestionOffersYesThenNoWithYesTheDefault)
{
    const auto box = BuildMessageBox("Eliminare il record?", vbYesNo, "Gestione Verbanto");
    ASSERT_EQ(box->buttons().size(), 2);
    QStringList captions;
    for (QAbstractButton* b : box->buttons())
        captions << b->text();
    captions.sort();
    EXPECT_EQ(captions, QStringList({"&No", "&Sì"}));
    ASSERT_NE(box->defaultButton(), nullptr);
    EXPECT_EQ(box->defaultButton()->text(), "&Sì");
    EXPECT_EQ(box->escapeButton()->text(), "&No");
    EXPECT_EQ(box->icon(), QMessageBox::NoIcon);
}
