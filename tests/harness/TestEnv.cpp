#include "harness/TestEnv.h"
#include "platform/SqlLite.h"
#include "shared/basGeneral.h"
#include "shared/basGeneralCustom.h"
#include <QDir>
#include <QApplication>
#include <QFile>
#include <QTest>
#include <QWidget>
#include <ctime>

void VerbantoTest::SetUp()
{
    dir_ = std::make_unique<QTemporaryDir>();
    ASSERT_TRUE(dir_->isValid());
    // Nothing of the tests reaches the user's own configuration (registry store, autostart entries).
    qputenv("XDG_CONFIG_HOME", (dir_->path() + QStringLiteral("/config")).toUtf8());
    QDir().mkpath(dir_->path() + QStringLiteral("/program"));
    platform::App::setPath(Folder());
    QString error;
    ASSERT_TRUE(platform::CreateDatabaseFile(DbFile(), platform::ReadTextFile(QStringLiteral(VERBANTO_SCHEMA)), &error))
        << error.toStdString();
    platform::Script::Enable();
    platform::Script::SetFailureHandler([](const QString& m) { ADD_FAILURE() << m.toStdString(); });
}

void VerbantoTest::TearDown()
{
    EXPECT_EQ(platform::Script::PendingAnswers(), 0) << "scripted answers nobody asked for";
    // The windows still there go as at the program's end; what they ask on the way out is no
    // longer the test's business.
    platform::Script::SetFailureHandler([](const QString&) {});
    platform::Forms::ReleaseAll();
}

QString VerbantoTest::Folder() const { return dir_->path() + QStringLiteral("/program"); }
QString VerbantoTest::DbFile() const { return Folder() + QStringLiteral("/orvendale.db3"); }

void VerbantoTest::OpenProgramDb()
{
    verbanto::gDbType = QStringLiteral("SqlLite");
    verbanto::OpenDb();
    verbanto::OpenMemoryDb();
    verbanto::gDbExecute(QStringLiteral("create table memodb.eventi (idscadenza integer, dataevento date)"));
    verbanto::AggiornaDatabase();
}

void VerbantoTest::Sql(const QString& statement)
{
    platform::SqlLiteConnection c;
    c.OpenDatabase(DbFile(), QString());
    c.Execute(statement);
}

QString VerbantoTest::Scalar(const QString& query)
{
    platform::SqlLiteConnection c;
    c.OpenDatabase(DbFile(), QString());
    auto rs = c.OpenRecordset(query);
    if (rs->EOF_())
        return QString();
    return rs->Fields(0).Value().Text();
}

long long VerbantoTest::Count(const QString& table, const QString& where)
{
    return Scalar(QStringLiteral("select count(*) from ") + table + (where.isEmpty() ? QString() : QStringLiteral(" where ") + where))
        .toLongLong();
}

QByteArray VerbantoTest::FileBytes(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("(unreadable)");
}

QString VerbantoTest::LastMessage() const
{
    const auto m = Messages();
    return m.empty() ? QString() : m.back().prompt;
}

void VerbantoTest::ExpectModalNamed(const QString& name, std::function<void(platform::Form&)> driver)
{
    platform::Script::ExpectModal(name, std::move(driver));
}

void VerbantoTest::Activate(platform::Form& form)
{
    QWidget* w = form.Window();
    ASSERT_NE(w, nullptr) << form.Name.toStdString() << " is not loaded";
    w->activateWindow();
    // The window itself: one whose opener is active counts as active too.
    ASSERT_TRUE(QTest::qWaitFor([w] { return QApplication::activeWindow() == w; })) << form.Name.toStdString() << " did not become active";
}

QWidget* VerbantoTest::Focused() { return QApplication::focusWidget(); }

void VerbantoTest::Keys(const QString& text)
{
    ASSERT_NE(Focused(), nullptr) << "no widget has the focus";
    QTest::keyClicks(Focused(), text);
}

void VerbantoTest::Key(Qt::Key key, Qt::KeyboardModifiers modifiers)
{
    ASSERT_NE(Focused(), nullptr) << "no widget has the focus";
    QTest::keyClick(Focused(), key, modifiers);
}

void VerbantoTest::ClickOn(const platform::Control& control)
{
    QWidget* w = control.Widget();
    ASSERT_NE(w, nullptr);
    // Through the window, as the window system delivers a click; unlike QTest::mouseClick, no
    // events are processed after it, so a window that the click closes is not deleted under the
    // script that drives it.
    QWidget* top = w->window();
    QWindow* window = top->windowHandle();
    ASSERT_NE(window, nullptr);
    static int timestamp = 0;
    timestamp += 1000;   // never a double click
    const QPointF local = w->mapTo(top, w->rect().center());
    const QPointF global = window->mapToGlobal(local);
    qt_handleMouseEvent(window, local, global, Qt::LeftButton, Qt::LeftButton, QEvent::MouseButtonPress, Qt::NoModifier, timestamp);
    qt_handleMouseEvent(window, local, global, Qt::NoButton, Qt::LeftButton, QEvent::MouseButtonRelease, Qt::NoModifier, timestamp + 10);
}

void VerbantoTest::Retype(const QString& text)
{
    Key(Qt::Key_A, Qt::ControlModifier);
    Key(Qt::Key_Delete);
    Keys(text);
}

QString VerbantoTest::TypeAndHex(const QString& text)
{
    return QStringLiteral("text:") + QString::fromLatin1(text.toUtf8().toHex().toUpper());
}

void VerbantoTest::UseTimeZone(const char* zone)
{
    qputenv("TZ", zone);
    tzset();
}
