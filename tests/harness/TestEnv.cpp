#include "harness/TestEnv.h"
#include "platform/SqlLite.h"
#include "shared/basGeneral.h"
#include "shared/basGeneralCustom.h"
#include <QDir>
#include <QFile>

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
