// CSV export: the exact bytes of the file, the dialogue (name, overwrite question, success) and
// what the user meets when the file cannot be written.
#include "harness/TestEnv.h"
#include "platform/FlexGrid.h"
#include "shared/basGeneral.h"
#include "shared/basGeneralCsv.h"

#include <QDateTime>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <functional>
#include <grp.h>
#include <linux/fuse.h>
#include <map>
#include <mutex>
#include <sched.h>
#include <string>
#include <sys/uio.h>
#include <thread>
#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace platform;
using namespace verbanto;

namespace {

class GridForm : public Form {
public:
    GridForm() : Form("frmCsv") {}
    FlexGrid* grid = nullptr;
    void CreateControls() override { grid = Add<FlexGrid>("MSFlexGrid1"); }
};

QByteArray readAll(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

void writeFile(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

// Enters a user and mount namespace of its own, where this process may mount: in a child
// process, so that no privilege is needed and nothing outlives it.
bool ownNamespaces(uid_t uid, gid_t gid)
{
    const auto put = [](const char* file, const std::string& text) {
        const int fd = open(file, O_WRONLY);
        const bool ok = fd >= 0 && write(fd, text.data(), text.size()) == static_cast<ssize_t>(text.size());
        if (fd >= 0)
            close(fd);
        return ok;
    };
    return unshare(CLONE_NEWUSER | CLONE_NEWNS) == 0 && put("/proc/self/setgroups", "deny") &&
           put("/proc/self/uid_map", "0 " + std::to_string(uid) + " 1") &&
           put("/proc/self/gid_map", "0 " + std::to_string(gid) + " 1") &&
           mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) == 0;
}

// A folder of a network share, held in memory and served by this process. Full, it reports it
// as such a share does: every write is taken and every close of a written file fails (ENOSPC).
class FullShare {
public:
    // Mounted on the folder; false where it cannot be.
    bool Mount(const QString& folder)
    {
        dev_ = open("/dev/fuse", O_RDWR | O_CLOEXEC);
        const std::string options = "fd=" + std::to_string(dev_) + ",rootmode=40000,user_id=0,group_id=0";
        if (dev_ < 0 || mount("share", QFile::encodeName(folder).constData(), "fuse", MS_NOSUID | MS_NODEV,
                              options.c_str()) != 0)
            return false;
        std::thread([this] { serve(); }).detach();   // ends with the process
        return true;
    }
    void Put(const std::string& name, const std::string& data)
    {
        std::lock_guard lock(mutex_);
        nodes_[next_] = {S_IFREG | 0644, 1, data};
        names_[name] = next_++;
    }
    void Set(bool full, bool unnamedFiles)
    {
        std::lock_guard lock(mutex_);
        full_ = full;
        unnamedFiles_ = unnamedFiles;
    }
    // The files by name, each with its content.
    QStringList Files()
    {
        std::lock_guard lock(mutex_);
        QStringList out;
        for (const auto& [name, id] : names_)
            out << QString::fromStdString(name + ": " + nodes_[id].data);
        return out;
    }

private:
    struct Node {
        uint32_t mode;
        uint32_t nlink;
        std::string data;
    };
    void reply(uint64_t unique, int error, const void* body = nullptr, size_t size = 0)
    {
        fuse_out_header out{static_cast<uint32_t>(sizeof out + size), -error, unique};
        iovec iov[2] = {{&out, sizeof out}, {const_cast<void*>(body), size}};
        (void)!writev(dev_, iov, size ? 2 : 1);
    }
    fuse_attr attr(uint64_t id)
    {
        fuse_attr a{};
        a.ino = id;
        a.mode = nodes_[id].mode;
        a.nlink = nodes_[id].nlink;
        a.size = nodes_[id].data.size();
        a.blksize = 4096;
        return a;
    }
    fuse_entry_out entry(uint64_t id)
    {
        fuse_entry_out e{};
        e.nodeid = id;
        e.attr = attr(id);
        return e;
    }
    void serve()
    {
        std::vector<char> buffer(1 << 20);
        for (;;) {
            if (read(dev_, buffer.data(), buffer.size()) < 0) {
                if (errno == EINTR || errno == ENOENT)
                    continue;
                return;
            }
            const auto& in = *reinterpret_cast<const fuse_in_header*>(buffer.data());
            const char* arg = buffer.data() + sizeof in;
            std::lock_guard lock(mutex_);
            Node& node = nodes_[in.nodeid];
            switch (in.opcode) {
            case FUSE_INIT: {
                fuse_init_out out{};
                out.major = FUSE_KERNEL_VERSION;
                out.minor = FUSE_KERNEL_MINOR_VERSION;
                out.max_readahead = reinterpret_cast<const fuse_init_in*>(arg)->max_readahead;
                out.max_write = 1 << 16;
                out.time_gran = 1;
                reply(in.unique, 0, &out, sizeof out);
                break;
            }
            case FUSE_LOOKUP:
                if (!names_.count(arg))
                    reply(in.unique, ENOENT);
                else {
                    const fuse_entry_out out = entry(names_[arg]);
                    reply(in.unique, 0, &out, sizeof out);
                }
                break;
            case FUSE_SETATTR:
            case FUSE_GETATTR: {
                const auto& set = *reinterpret_cast<const fuse_setattr_in*>(arg);
                if (in.opcode == FUSE_SETATTR && (set.valid & FATTR_MODE))
                    node.mode = (node.mode & S_IFMT) | (set.mode & 07777);
                if (in.opcode == FUSE_SETATTR && (set.valid & FATTR_SIZE))
                    node.data.resize(set.size);
                fuse_attr_out out{};
                out.attr = attr(in.nodeid);
                reply(in.unique, 0, &out, sizeof out);
                break;
            }
            case FUSE_TMPFILE:
                if (!unnamedFiles_) {
                    reply(in.unique, ENOSYS);   // not asked again on this mount
                    break;
                }
                [[fallthrough]];
            case FUSE_CREATE: {
                const auto& create = *reinterpret_cast<const fuse_create_in*>(arg);
                const uint64_t id = next_++;
                nodes_[id] = {S_IFREG | (create.mode & 07777), in.opcode == FUSE_CREATE ? 1u : 0u, {}};
                if (in.opcode == FUSE_CREATE)
                    names_[arg + sizeof create] = id;
                struct {
                    fuse_entry_out entry;
                    fuse_open_out open;
                } out{entry(id), {}};
                reply(in.unique, 0, &out, sizeof out);
                break;
            }
            case FUSE_WRITE: {
                const auto& write = *reinterpret_cast<const fuse_write_in*>(arg);
                if (node.data.size() < write.offset + write.size)
                    node.data.resize(write.offset + write.size);
                std::memcpy(node.data.data() + write.offset, arg + sizeof write, write.size);
                const fuse_write_out out{write.size, 0};
                reply(in.unique, 0, &out, sizeof out);
                break;
            }
            case FUSE_FLUSH:
                reply(in.unique, full_ ? ENOSPC : 0);
                break;
            case FUSE_LINK: {
                const uint64_t id = reinterpret_cast<const fuse_link_in*>(arg)->oldnodeid;
                const char* name = arg + sizeof(fuse_link_in);
                if (names_.count(name))
                    reply(in.unique, EEXIST);
                else {
                    names_[name] = id;
                    ++nodes_[id].nlink;
                    const fuse_entry_out out = entry(id);
                    reply(in.unique, 0, &out, sizeof out);
                }
                break;
            }
            case FUSE_RENAME:
            case FUSE_RENAME2: {
                const char* from = arg + (in.opcode == FUSE_RENAME ? sizeof(fuse_rename_in) : sizeof(fuse_rename2_in));
                const char* to = from + std::strlen(from) + 1;
                if (!names_.count(from))
                    reply(in.unique, ENOENT);
                else {
                    if (names_.count(to))
                        --nodes_[names_[to]].nlink;
                    names_[to] = names_[from];
                    names_.erase(from);
                    reply(in.unique, 0);
                }
                break;
            }
            case FUSE_UNLINK:
                if (!names_.count(arg))
                    reply(in.unique, ENOENT);
                else {
                    --nodes_[names_[arg]].nlink;
                    names_.erase(arg);
                    reply(in.unique, 0);
                }
                break;
            case FUSE_OPEN:
            case FUSE_RELEASE: {
                const fuse_open_out out{};
                reply(in.unique, 0, &out, in.opcode == FUSE_OPEN ? sizeof out : 0);
                break;
            }
            case FUSE_FORGET:
            case FUSE_BATCH_FORGET:
            case FUSE_INTERRUPT:
                break;   // no answer
            default:
                reply(in.unique, ENOSYS);
            }
        }
    }
    int dev_ = -1;
    std::mutex mutex_;
    std::map<uint64_t, Node> nodes_{{FUSE_ROOT_ID, {S_IFDIR | 0755, 2, {}}}};
    std::map<std::string, uint64_t> names_;
    uint64_t next_ = FUSE_ROOT_ID + 1;
    bool full_ = true;
    bool unnamedFiles_ = true;
};

const QByteArray Expected = "\"Cognome\";\"Nome\";\"idfield\"\r\n"
                            "\"Rossi\";\"Il \"\"Grande\"\"\";\"1\"\r\n"
                            "\"Città; sud\";\"\";\"2\"\r\n";

} // namespace

class CsvExportTest : public VerbantoTest {
protected:
    void SetUp() override
    {
        VerbantoTest::SetUp();
        form.Load();
        FlexGrid& g = *form.grid;
        g.setRows(1);
        g.setCols(5);
        const QStringList head{"IDFIELD", "Cognome", "IDFIELD", "Nome", "idfield"};
        for (int c = 0; c < 5; ++c)
            g.setTextMatrix(0, c, head[c]);
        g.AddItem("10\tRossi\t7\tIl \"Grande\"\t1");
        g.AddItem("11\tCittà; sud\t8\t\t2");
        g.setColWidth(0, 0);
        g.setColWidth(4, 0);   // a hidden column with another header is written
    }
    void TearDown() override
    {
        form.Unload();
        VerbantoTest::TearDown();
    }
    QStringList prompts() const
    {
        QStringList out;
        for (const auto& m : Messages())
            out << m.prompt;
        return out;
    }
    GridForm form;
};

TEST_F(CsvExportTest, FileHoldsEveryRowQuotedWithoutTheIdColumns)
{
    const QString path = Folder() + "/elenco.csv";
    xMSFlexGrid_Save(*form.grid, path);
    EXPECT_EQ(readAll(path), Expected);
    EXPECT_TRUE(Messages().empty());

    // An empty list: the header row alone, "0 Records" in its first cell.
    FlexGrid& g = *form.grid;
    g.setRows(1);
    g.setCols(1);
    g.setTextMatrix(0, 0, "0 Records");
    xMSFlexGrid_Save(g, path);
    EXPECT_EQ(readAll(path), "\"0 Records\"\r\n");
}

TEST_F(CsvExportTest, ExportNamesTheFileAndReportsSuccess)
{
    Script::AnswerSaveDialog(" " + Folder() + "/elenco ");
    esportaCSV(*form.grid);
    const QString path = Folder() + "/elenco.csv";
    EXPECT_EQ(readAll(path), Expected);
    ASSERT_EQ(Script::Of("save").size(), 1u);
    EXPECT_EQ(Script::Of("save")[0].prompt, "File CSV|*.csv");
    ASSERT_EQ(Messages().size(), 1u);
    EXPECT_EQ(Messages()[0].prompt, "I dati sono stati esportati con successo sul file " + path);
    EXPECT_EQ(Messages()[0].style, 48);
    EXPECT_EQ(Messages()[0].title, "Gestione Verbanto");

    // An extension in any case stays as it is.
    Script::AnswerSaveDialog(Folder() + "/Elenco.CSV");
    esportaCSV(*form.grid);
    EXPECT_TRUE(QFileInfo::exists(Folder() + "/Elenco.CSV"));
    EXPECT_FALSE(QFileInfo::exists(Folder() + "/Elenco.CSV.csv"));

    // Cancelling writes nothing and says nothing.
    Script::AnswerSaveDialog("");
    esportaCSV(*form.grid);
    EXPECT_EQ(Messages().size(), 2u);
}

TEST_F(CsvExportTest, AnExistingFileIsReplacedOnlyAfterYes)
{
    const QString path = Folder() + "/elenco.csv";
    writeFile(path, "vecchio");
    const QString question = "Il file " + path + " già esiste. Sei sicuro di volerlo sovrascrivere?";

    Script::AnswerSaveDialog(path);
    Script::AnswerMsgBox(vbNo);
    esportaCSV(*form.grid);
    EXPECT_EQ(prompts(), QStringList({question}));
    EXPECT_EQ(Messages()[0].style, 4);
    EXPECT_EQ(readAll(path), "vecchio");

    Script::AnswerSaveDialog(path);
    Script::AnswerMsgBox(vbYes);
    esportaCSV(*form.grid);
    EXPECT_EQ(prompts(), QStringList({question, question, "I dati sono stati esportati con successo sul file " + path}));
    EXPECT_EQ(readAll(path), Expected);
}

TEST_F(CsvExportTest, AFileThatCannotBeWrittenIsReportedAndNotCalledASuccess)
{
    // A folder that does not exist.
    Script::AnswerSaveDialog(Folder() + "/manca/elenco.csv");
    esportaCSV(*form.grid);
    EXPECT_EQ(prompts(), QStringList({"Error 76 (Path not found) in procedure xMSFlexGrid_Save of Modulo basGeneral"}));
    EXPECT_EQ(Messages()[0].style, 48);
    EXPECT_FALSE(QFileInfo::exists(Folder() + "/manca"));

    // A full disk; the device stays what it is.
    Script::Clear();
    xMSFlexGrid_Save(*form.grid, "/dev/full");
    EXPECT_EQ(prompts(), QStringList({"Error 61 (Disk full) in procedure xMSFlexGrid_Save of Modulo basGeneral"}));
    struct stat st {};
    ASSERT_EQ(stat("/dev/full", &st), 0);
    EXPECT_TRUE(S_ISCHR(st.st_mode));
}

TEST_F(CsvExportTest, AWriteThatFailsHalfWayLeavesTheOldFileAsItWas)
{
    const QString path = Folder() + "/grande.csv";
    writeFile(path, "vecchio");
    FlexGrid& g = *form.grid;
    for (int i = 0; i < 2000; ++i)
        g.AddItem(QString("%1\tCognome %1\t0\tNome %1\t%1").arg(i));
    // Files may not grow past 4 KB in this process: the write fails part of the way.
    std::signal(SIGXFSZ, SIG_IGN);
    rlimit old {};
    getrlimit(RLIMIT_FSIZE, &old);
    rlimit small = old;
    small.rlim_cur = 4096;
    setrlimit(RLIMIT_FSIZE, &small);
    Script::AnswerSaveDialog(path);
    Script::AnswerMsgBox(vbYes);
    esportaCSV(*form.grid);
    setrlimit(RLIMIT_FSIZE, &old);

    const QStringList shown = prompts();
    ASSERT_EQ(shown.size(), 2);
    EXPECT_TRUE(shown[1].startsWith("Error ") && shown[1].endsWith(" in procedure xMSFlexGrid_Save of Modulo basGeneral"))
        << shown[1].toStdString();
    EXPECT_EQ(readAll(path), "vecchio");
    // No half-written file is left behind.
    EXPECT_EQ(QDir(Folder()).entryList({"grande*"}, QDir::Files), QStringList({"grande.csv"}));

    // Killed half way (the size limit's own signal ends it): still nothing left behind.
    const pid_t killed = fork();
    ASSERT_GE(killed, 0);
    if (killed == 0) {
        std::signal(SIGXFSZ, SIG_DFL);
        const rlimit noCore {0, 0};
        setrlimit(RLIMIT_CORE, &noCore);
        setrlimit(RLIMIT_FSIZE, &small);
        xMSFlexGrid_Save(g, path);
        _exit(0);
    }
    int status = 0;
    ASSERT_EQ(waitpid(killed, &status, 0), killed);
    EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGXFSZ) << status;
    EXPECT_EQ(readAll(path), "vecchio");
    EXPECT_EQ(QDir(Folder()).entryList(QDir::Files | QDir::Hidden | QDir::System).filter("grande"),
              QStringList({"grande.csv"}));

    // A disk that fills part of the way: a small file system of its own.
    const QString full = Folder() + "/pieno";
    const QString outcome = Folder() + "/esito.txt";
    ASSERT_TRUE(QDir(Folder()).mkdir("pieno"));
    const uid_t uid = getuid();
    const gid_t gid = getgid();
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        if (!ownNamespaces(uid, gid) || mount("tmpfs", QFile::encodeName(full).constData(), "tmpfs", 0, "size=32k") != 0)
            _exit(77);
        Script::Clear();
        writeFile(full + "/grande.csv", "vecchio");
        xMSFlexGrid_Save(g, full + "/grande.csv");
        const QStringList left = QDir(full).entryList(QDir::Files | QDir::Hidden | QDir::System);
        writeFile(outcome, (prompts() + QStringList{readAll(full + "/grande.csv")} + left).join('\n').toUtf8());
        _exit(0);
    }
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status)) << status;
    if (WEXITSTATUS(status) == 77)
        GTEST_SKIP() << "no small file system can be mounted here";
    EXPECT_EQ(QString::fromUtf8(readAll(outcome)),
              "Error 61 (Disk full) in procedure xMSFlexGrid_Save of Modulo basGeneral\nvecchio\ngrande.csv");
}

TEST_F(CsvExportTest, AFileWhoseCloseFailsDoesNotTakeTheName)
{
    const QString share = Folder() + "/rete";
    const QString outcome = Folder() + "/esito.txt";
    ASSERT_TRUE(QDir(Folder()).mkdir("rete"));
    const uid_t uid = getuid();
    const gid_t gid = getgid();
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        FullShare fs;
        fs.Put("grande.csv", "vecchio");
        if (!ownNamespaces(uid, gid) || !fs.Mount(share))
            _exit(77);
        Script::Clear();
        xMSFlexGrid_Save(*form.grid, share + "/grande.csv");
        xMSFlexGrid_Save(*form.grid, share + "/nuovo.csv");
        // Where the share has no unnamed files, the file is written under a hidden name.
        fs.Set(true, false);
        xMSFlexGrid_Save(*form.grid, share + "/grande.csv");
        fs.Set(false, false);
        xMSFlexGrid_Save(*form.grid, share + "/altro.csv");
        writeFile(outcome, (prompts() + fs.Files()).join('\n').toUtf8());
        _exit(0);
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status)) << status;
    if (WEXITSTATUS(status) == 77)
        GTEST_SKIP() << "no file system can be served here";
    const QString failed = "Error 61 (Disk full) in procedure xMSFlexGrid_Save of Modulo basGeneral";
    EXPECT_EQ(QString::fromUtf8(readAll(outcome)),
              QStringList({failed, failed, failed, "altro.csv: " + Expected, "grande.csv: vecchio"}).join('\n'));
}

TEST_F(CsvExportTest, TheUsersFilesBesideTheTargetAreNeverTouched)
{
    // Hidden names an export's own partial file could have, an hour old and more.
    const QStringList own{".verbale.csv.bak", ".verbale.csv.old", ".verbale.csv.1", ".verbale.csv.swp"};
    const QDateTime old = QDateTime::currentDateTime().addSecs(-2 * 3600);
    for (const QString& name : own) {
        QFile f(Folder() + "/" + name);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        ASSERT_TRUE(f.write(name.toUtf8()) > 0 && f.flush());
        ASSERT_TRUE(f.setFileTime(old, QFileDevice::FileModificationTime));
    }
    const QString path = Folder() + "/verbale.csv";
    xMSFlexGrid_Save(*form.grid, path);   // a new file
    xMSFlexGrid_Save(*form.grid, path);   // one replaced
    EXPECT_EQ(readAll(path), Expected);
    for (const QString& name : own) {
        EXPECT_EQ(readAll(Folder() + "/" + name), name.toUtf8());
        EXPECT_EQ(QFileInfo(Folder() + "/" + name).lastModified().toMSecsSinceEpoch(), old.toMSecsSinceEpoch())
            << name.toStdString();
    }
    EXPECT_EQ(QDir(Folder()).entryList(QDir::Files | QDir::Hidden | QDir::System).filter("verbale"),
              QStringList({".verbale.csv.1", ".verbale.csv.bak", ".verbale.csv.old", ".verbale.csv.swp", "verbale.csv"}));
}

TEST_F(CsvExportTest, AccentsAndTextsLongerThanAWriteAreWrittenWhole)
{
    FlexGrid& g = *form.grid;
    // A text with quotes all along it, longer than the blocks the file is written in.
    QString longText;
    QByteArray longField = "\"";
    for (int i = 0; i < 30000; ++i) {
        longText += QStringLiteral("è\"x");
        longField += "\xC3\xA8\"\"x";
    }
    longField += "\"";
    g.AppendRow({QStringLiteral("12"), longText, QStringLiteral("9"), QStringLiteral("Niccolò €"), QString()});
    const QString path = Folder() + "/lungo.csv";
    xMSFlexGrid_Save(g, path);
    EXPECT_EQ(readAll(path), Expected + longField + ";\"Niccol\xC3\xB2 \xE2\x82\xAC\";\"\"\r\n");
}

TEST_F(CsvExportTest, AReplacedFileKeepsItsPermissionsAndALinkStaysALink)
{
    const QString path = Folder() + "/elenco.csv";
    writeFile(path, "vecchio");
    ASSERT_TRUE(QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup));
    xMSFlexGrid_Save(*form.grid, path);
    EXPECT_EQ(readAll(path), Expected);
    EXPECT_EQ(QFile::permissions(path) & 0x7777, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup |
                                                      QFile::ReadUser | QFile::WriteUser);

    // A name that is a link to a file elsewhere: the file is written, the link left as it was.
    ASSERT_TRUE(QDir(Folder()).mkdir("altrove"));
    const QString target = Folder() + "/altrove/vero.csv";
    writeFile(target, "vecchio");
    const QString link = Folder() + "/collegamento.csv";
    ASSERT_TRUE(QFile::link(target, link));
    xMSFlexGrid_Save(*form.grid, link);
    EXPECT_TRUE(QFileInfo(link).isSymLink());
    EXPECT_EQ(readAll(target), Expected);

    // Nothing else is left beside the files.
    EXPECT_TRUE(Messages().empty()) << (Messages().empty() ? std::string() : Messages()[0].prompt.toStdString());
    EXPECT_EQ(QDir(Folder()).entryList(QDir::Files | QDir::Hidden | QDir::System).filter(".csv"),
              QStringList({"collegamento.csv", "elenco.csv"}));
    EXPECT_EQ(QDir(Folder() + "/altrove").entryList(QDir::Files | QDir::Hidden), QStringList({"vero.csv"}));
}

// An export over a file keeps what the file is to its user, as a plain write would: a file the
// user may not write is refused, and every name, the owner, the group and the links stay. Each
// case exports in a process of its own, some as another user than root.
TEST_F(CsvExportTest, AnExportKeepsWhatTheFileIsToItsUser)
{
    if (geteuid() != 0)
        GTEST_SKIP() << "another user and another owner need root";
    constexpr uid_t Nobody = 65534;
    QTemporaryDir dir;   // open to the other user, unlike the program folder
    ASSERT_TRUE(dir.isValid());
    const QString d = dir.path();
    const auto bytes = [&](const QString& name) { return QFile::encodeName(d + "/" + name); };
    const auto old = [&](const QString& name, mode_t mode, uid_t owner) {
        writeFile(d + "/" + name, "vecchio");
        ASSERT_EQ(chown(bytes(name), owner, owner), 0);
        ASSERT_EQ(chmod(bytes(name), mode), 0);
    };
    const auto lstatOf = [&](const QString& name) {
        struct stat st {};
        EXPECT_EQ(lstat(bytes(name), &st), 0) << name.toStdString();
        return st;
    };
    ASSERT_EQ(chmod(QFile::encodeName(d), 0777), 0);
    old("solalettura.csv", 0444, Nobody);
    old("doppio.csv", 0644, 0);
    ASSERT_EQ(link(bytes("doppio.csv"), bytes("secondo.csv")), 0);
    old("altrui.csv", 0600, Nobody);
    const ino_t altrui = lstatOf("altrui.csv").st_ino;
    ASSERT_TRUE(QDir(d).mkdir("chiusa"));
    old("chiusa/aperto.csv", 0644, Nobody);
    ASSERT_TRUE(QDir(d).mkdir("a") && QDir(d).mkdir("b"));
    ASSERT_EQ(symlink("../b/ponte.csv", bytes("a/collegamento.csv")), 0);
    ASSERT_EQ(symlink("vero.csv", bytes("b/ponte.csv")), 0);
    const QString longName = QString(246, 'x') + ".csv";
    old(longName, 0644, 0);

    const QString denied = "Error 70 (Permission denied) in procedure xMSFlexGrid_Save of Modulo basGeneral";
    struct Case {
        const char* what;
        QString name;
        bool asNobody;   // else as root
        bool asked;      // the overwrite question comes first
        bool refused;
        std::function<void()> check;
    };
    const std::vector<Case> cases{
        {"read-only file", "solalettura.csv", true, true, true, [] {}},
        {"file of two names", "doppio.csv", false, true, false,
         [&] { EXPECT_EQ(QString::fromUtf8(readAll(d + "/secondo.csv")), QString::fromUtf8(Expected)); }},
        {"file of another owner", "altrui.csv", false, true, false,
         [&] {
             const struct stat st = lstatOf("altrui.csv");
             EXPECT_EQ(st.st_uid, Nobody);
             EXPECT_EQ(st.st_gid, Nobody);
             EXPECT_EQ(st.st_mode & 07777, 0600u);
             EXPECT_NE(st.st_ino, altrui);   // still replaced in one step
         }},
        {"folder the user cannot write", "chiusa/aperto.csv", true, true, false, [] {}},
        {"relative links to a file not made yet", "a/collegamento.csv", false, false, false,
         [&] {
             EXPECT_TRUE(S_ISLNK(lstatOf("a/collegamento.csv").st_mode));
             EXPECT_TRUE(S_ISLNK(lstatOf("b/ponte.csv").st_mode));   // the file made is b/vero.csv
         }},
        {"name as long as the file system takes", longName, false, true, false, [] {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const QString path = d + "/" + c.name;
        int out[2];
        ASSERT_EQ(pipe(out), 0);
        const pid_t child = fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            if (c.asNobody && (setgroups(0, nullptr) != 0 || setresgid(Nobody, Nobody, Nobody) != 0 ||
                               setresuid(Nobody, Nobody, Nobody) != 0))
                _exit(1);
            Script::Clear();
            Script::AnswerSaveDialog(path);
            if (c.asked)
                Script::AnswerMsgBox(vbYes);
            esportaCSV(*form.grid);
            const QByteArray shown = prompts().join('\n').toUtf8();
            _exit(write(out[1], shown.data(), shown.size()) == shown.size() ? 0 : 1);
        }
        close(out[1]);
        QByteArray shown;
        char buffer[4096];
        for (ssize_t n; (n = read(out[0], buffer, sizeof buffer)) > 0;)
            shown.append(buffer, n);
        close(out[0]);
        int status = 0;
        ASSERT_EQ(waitpid(child, &status, 0), child);
        ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
        QStringList expected;
        if (c.asked)
            expected << "Il file " + path + " già esiste. Sei sicuro di volerlo sovrascrivere?";
        expected << (c.refused ? denied : "I dati sono stati esportati con successo sul file " + path);
        EXPECT_EQ(QString::fromUtf8(shown), expected.join('\n'));
        EXPECT_EQ(QString::fromUtf8(readAll(path)), QString::fromUtf8(c.refused ? "vecchio" : Expected));
        c.check();
    }
    // Nothing else is left anywhere.
    QStringList left;
    for (QDirIterator it(d, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                         QDirIterator::Subdirectories);
         it.hasNext();)
        left << it.next().mid(d.size() + 1);
    left.sort();
    EXPECT_EQ(left, QStringList({"a", "a/collegamento.csv", "altrui.csv", "b", "b/ponte.csv", "b/vero.csv", "chiusa",
                                 "chiusa/aperto.csv", "doppio.csv", "secondo.csv", "solalettura.csv", longName}));
}
