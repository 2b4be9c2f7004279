// The dialogs on screen, at the usual font and at a large one: Tab visits the controls as the
// eye reads the window, every caption is whole and a command's keeps its margin from the frame,
// every control lies inside the window, and the dialog keeps the size of its layout whatever
// size it is asked to take.
#include "cheques/frmEditAssegniEmessi.h"
#include "cheques/frmEditGirate.h"
#include "cheques/frmEditMieiContiCorrenti.h"
#include "cheques/frmEditVersamenti.h"
#include "cheques/frmSelectAssegniEmessi.h"
#include "cheques/frmSelectMieiContiCorrenti.h"
#include "contacts/frmEditAnagrafica.h"
#include "contacts/frmEditTipologiaPersone.h"
#include "contacts/frmSelectAnagrafica.h"
#include "contacts/frmSelectTipologiaPersone.h"
#include "deadlines/frmEditPagamenti.h"
#include "deadlines/frmSelectPagamenti.h"
#include "harness/TestEnv.h"
#include "mainwindow/frmAbout.h"
#include "mainwindow/frmEditSettings.h"
#include "mainwindow/frmSplashReports.h"
#include "platform/FormLayout.h"
#include "shared/basGeneral.h"
#include <QApplication>
#include <QFontMetricsF>
#include <QPushButton>
#include <QStyle>
#include <QStyleOptionButton>

using namespace verbanto;
using platform::Control;
using platform::layout::PlaceInWindow;

namespace {
constexpr int kSlack = 2 * platform::TwipsPerPixel;

// b comes after a as the eye reads: on a line further down, or further right (along the same
// line, or in a column further on).
bool ReadsAfter(const QRect& a, const QRect& b) { return b.top() >= a.bottom() - kSlack || b.left() >= a.right() - kSlack; }

QString CaptionOf(const Control& c)
{
    // Controls without a caption refuse the question.
    try {
        return c.Caption().remove(QLatin1Char('&'));
    } catch (const platform::VbError&) {
        return QString();
    }
}

// The width of a control's caption in its own font (twips).
double CaptionWidth(const Control& c) { return QFontMetricsF(c.Font()).horizontalAdvance(CaptionOf(c)) * platform::TwipsPerPixel; }

// A control drawn by a widget of its own inside the window.
bool HasOwnWidget(const Control& c) { return c.Widget() && c.Widget() != c.Parent.Window(); }

// The room a command leaves on either side of its caption, less what its style asks for there
// (its frame and its button margin), in pixels: below 0 the caption crowds the frame.
int SpareBesideCaption(const QPushButton& b)
{
    QStyleOptionButton option;
    option.initFrom(&b);
    option.text = b.text();
    if (b.autoDefault())
        option.features |= QStyleOptionButton::AutoDefaultButton;
    const QStyle* s = b.style();
    int asked = s->pixelMetric(QStyle::PM_ButtonMargin, &option, &b) + s->pixelMetric(QStyle::PM_DefaultFrameWidth, &option, &b);
    if (b.autoDefault())
        asked += s->pixelMetric(QStyle::PM_ButtonDefaultIndicator, &option, &b);
    const int caption = b.fontMetrics().size(Qt::TextShowMnemonic, b.text()).width();
    return (b.width() - caption) / 2 - asked;
}
} // namespace

class DialogLayoutTest : public VerbantoTest {
protected:
    void SetUp() override
    {
        VerbantoTest::SetUp();
        OpenProgramDb();
        gNewRecord = true;
    }

    template <class... Dialogs> void CheckAll(double fontScale) { (Check<Dialogs>(fontScale), ...); }

    template <class T> void Check(double fontScale)
    {
        // The desktop's font, as a user who wants larger text sets it: every control takes it.
        const QFont usual = QApplication::font();
        QFont font = usual;
        font.setPointSizeF(font.pointSizeF() * fontScale);
        QApplication::setFont(font);
        T& f = platform::Forms::Instance<T>();
        f.Load();
        const double width = f.Width(), height = f.Height();
        SCOPED_TRACE(f.Name.toStdString());

        const std::vector<Control*> order = platform::layout::TabOrder(f);
        EXPECT_FALSE(order.empty());
        for (size_t i = 1; i < order.size(); ++i)
            EXPECT_TRUE(ReadsAfter(PlaceInWindow(*order[i - 1]), PlaceInWindow(*order[i])))
                << order[i - 1]->Name.toStdString() << " then " << order[i]->Name.toStdString();

        const QRect window(0, 0, static_cast<int>(f.ScaleWidth()), static_cast<int>(f.ScaleHeight()));
        for (const Control* c : f.Controls()) {
            if (!HasOwnWidget(*c))
                continue;
            const QRect place = PlaceInWindow(*c);
            EXPECT_TRUE(window.contains(place)) << c->Name.toStdString();
            EXPECT_GE(place.width() + kSlack, CaptionWidth(*c)) << c->Name.toStdString();
            if (const auto* button = qobject_cast<const QPushButton*>(c->Widget())) {
                EXPECT_GE(SpareBesideCaption(*button), 0) << c->Name.toStdString() << " \"" << CaptionOf(*c).toStdString() << '"';
            }
        }

        f.Move(f.Left(), f.Top(), width / 3, height / 3);
        EXPECT_EQ(f.Width(), width);
        EXPECT_EQ(f.Height(), height);
        f.Move(f.Left(), f.Top(), width * 2, height * 2);
        EXPECT_EQ(f.Width(), width);
        EXPECT_EQ(f.Height(), height);
        platform::Forms::Release<T>();
        QApplication::setFont(usual);
    }
};

#define VERBANTO_DIALOGS                                                                                                      \
    frmEditPagamenti, frmSelectPagamenti, frmEditAnagrafica, frmSelectAnagrafica, frmEditTipologiaPersone,                    \
        frmSelectTipologiaPersone, frmEditAssegniEmessi, frmSelectAssegniEmessi, frmEditGirate, frmEditVersamenti,             \
        frmEditMieiContiCorrenti, frmSelectMieiContiCorrenti, frmAbout, frmEditSettings, frmSplashReports

TEST_F(DialogLayoutTest, EveryDialogReadsInOrderHoldsItsCaptionsAndKeepsItsSize) { CheckAll<VERBANTO_DIALOGS>(1.0); }

TEST_F(DialogLayoutTest, AtALargeFontEveryCaptionIsStillWholeAndTheOrderHolds) { CheckAll<VERBANTO_DIALOGS>(1.8); }
