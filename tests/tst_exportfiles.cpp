// kvelmor-export's five files of a setting as one unit, as a teacher meets it: a stick that fails
// halfway, Ctrl+C, a killed export, a FAT stick, a memory or file size limit, odd folder names
// and locales. Faults are made real (chattr, fusefat, ulimit) or injected by a preloaded shim.
#include <dirent.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>
#include <clocale>
#include <csignal>
#include <cstring>
#include <map>

namespace {

const QString kExport = QStringLiteral(KVELMOR_EXPORT_BINARY);
const char* const kSuffixes[] = {".png", ".svg", ".csv", "-plot.svg", "-plot.png"};
const QStringList kSetting{"--frequency", "stredni", "--distance", "350"};

struct Result {
    int status;  // the exit status; -1 when killed by a signal or still running at the deadline
    QByteArray err;
};

// Runs the export with `arguments` and `environment` added, through `sh -c` when a `shell`
// command (umask, ulimit) must come first.
Result exportTool(const QStringList& arguments, const QStringList& environment = {},
                  const QString& shell = {})
{
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    for (const QString& kv : environment) env.insert(kv.section('=', 0, 0), kv.section('=', 1));
    p.setProcessEnvironment(env);
    if (shell.isEmpty()) {
        p.start(kExport, arguments);
    } else {
        p.start("sh", QStringList{"-c", shell + "; exec \"$0\" \"$@\"", kExport} + arguments);
    }
    if (!p.waitForFinished(120000)) {
        p.kill();
        p.waitForFinished();
        return {-1, "(no end within two minutes)"};
    }
    return {p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1, p.readAllStandardError()};
}

// The shim that makes the file system fail at a chosen step (faultshim.cpp), with its settings.
QStringList withShim(const QStringList& faults)
{
    return QStringList{QStringLiteral("LD_PRELOAD=" KVELMOR_FAULT_SHIM),
                       "ASAN_OPTIONS=" + qEnvironmentVariable("ASAN_OPTIONS") +
                           ":verify_asan_link_order=0"} +
           faults;
}

QString englishReason(int error)
{
    locale_t c = newlocale(LC_ALL_MASK, "C", locale_t(nullptr));
    const QString text = QString::fromLatin1(strerror_l(error, c));
    freelocale(c);
    return text;
}

// Every name in `dir` (bytes, hidden ones too) with its content: what must stay exactly as it was.
std::map<QByteArray, QByteArray> snapshot(const QByteArray& dir)
{
    std::map<QByteArray, QByteArray> files;
    DIR* d = opendir(dir.constData());
    while (const dirent* e = d ? readdir(d) : nullptr) {
        const QByteArray name(e->d_name);
        if (name == "." || name == "..") continue;
        // POSIX calls, as Qt would not find a name that is not valid UTF-8.
        QByteArray bytes("(unreadable)");
        if (const int fd = open(dir + '/' + name, O_RDONLY); fd >= 0) {
            QFile f;
            if (f.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) bytes = f.readAll();
        }
        files[name] = bytes;
    }
    if (d) closedir(d);
    return files;
}

void writeFile(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

// An older set of the setting 0.6/350, as an earlier export would have left it.
void writeOlderSet(const QString& dir)
{
    QVERIFY(QDir().mkpath(dir));
    for (const char* suffix : kSuffixes) {
        writeFile(dir + "/kvelmor-0.6-350" + suffix, QByteArray("older ") + suffix);
    }
}

bool waitForStop(qint64 pid)
{
    QDeadlineTimer deadline(60000);
    while (!deadline.hasExpired()) {
        QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
        if (stat.open(QIODevice::ReadOnly) && stat.readAll().contains(") T ")) return true;
        QThread::msleep(10);
    }
    return false;
}

}  // namespace

class TestExportFiles : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void failedReplacementLeavesTheOlderSet_data();
    void failedReplacementLeavesTheOlderSet();
    void immutableFileLeavesTheOlderSet();
    void signalsWaitForTheUnit_data();
    void signalsWaitForTheUnit();
    void killedExportsLeftoversGoButARunningOnesStay();
    void killedReplacementIsUndoneByTheNextExport_data();
    void killedReplacementIsUndoneByTheNextExport();
    void newFilesGetTheUmasksPermissions_data();
    void newFilesGetTheUmasksPermissions();
    void fileSizeLimitFailsTheWrite();
    void fatStickTakesTheFiles();
    void memoryLimitEndsWithAMessage_data();
    void memoryLimitEndsWithAMessage();
    void folderNamesAreTheBytesGiven();
    void speaksOneLanguageInTheLocalesCharset_data();
    void speaksOneLanguageInTheLocalesCharset();
    void saysNothingOfTheToolkitAndFailsWithoutFonts();

private:
    QTemporaryDir work;
    std::map<QByteArray, QByteArray> older, newer;  // the two sets of 0.6/350
};

void TestExportFiles::initTestCase()
{
    ::unsetenv(
        "LANGUAGE");  // the system's reasons computed here follow the locale, as the export's
    QVERIFY(work.isValid());
    writeOlderSet(work.filePath("older"));
    older = snapshot(QFile::encodeName(work.filePath("older")));
    const Result r = exportTool(kSetting + QStringList{"--out", work.filePath("newer")});
    QVERIFY2(r.status == 0, r.err.constData());
    newer = snapshot(QFile::encodeName(work.filePath("newer")));
    QCOMPARE(int(newer.size()), 5);
}

// Renames count from 1: with an older set, rename 2k-1 sets file k's older file aside and rename
// 2k puts the new one in its place; without one, rename k places file k.
void TestExportFiles::failedReplacementLeavesTheOlderSet_data()
{
    QTest::addColumn<QString>("fault");
    QTest::addColumn<int>("error");
    QTest::addColumn<bool>("hasOlderSet");
    QTest::newRow("first new file") << "KVELMOR_FAIL_RENAME=2:5" << EIO << true;
    QTest::newRow("setting the SVG aside") << "KVELMOR_FAIL_RENAME=3:16" << EBUSY << true;
    QTest::newRow("the CSV, midway") << "KVELMOR_FAIL_RENAME=6:28" << ENOSPC << true;
    QTest::newRow("the last file") << "KVELMOR_FAIL_RENAME=10:122" << EDQUOT << true;
    QTest::newRow("no older set") << "KVELMOR_FAIL_RENAME=3:5" << EIO << false;
    QTest::newRow("sync to disk") << "KVELMOR_FAIL_FSYNC=5" << EIO << true;
    QTest::newRow("close") << "KVELMOR_FAIL_CLOSE=122" << EDQUOT << true;
}

void TestExportFiles::failedReplacementLeavesTheOlderSet()
{
    QFETCH(QString, fault);
    QFETCH(int, error);
    QFETCH(bool, hasOlderSet);
    QTemporaryDir dir;
    if (hasOlderSet) writeOlderSet(dir.path());
    const auto before = snapshot(QFile::encodeName(dir.path()));
    const Result r = exportTool(kSetting + QStringList{"--out", dir.path()}, withShim({fault}));
    QCOMPARE(r.status, 1);
    const QString err = QString::fromUtf8(r.err);
    QVERIFY2(err.contains(dir.path() + "/kvelmor-0.6-350") && err.contains(englishReason(error)),
             qPrintable(err));
    QCOMPARE(err.count('\n'), 1);
    QVERIFY2(snapshot(QFile::encodeName(dir.path())) == before, "the folder changed");
}

void TestExportFiles::immutableFileLeavesTheOlderSet()
{
    QTemporaryDir dir;
    writeOlderSet(dir.path());
    const QString csv = dir.filePath("kvelmor-0.6-350.csv");
    if (QProcess::execute("chattr", {"+i", csv}) != 0) QSKIP("chattr +i needs root and ext4");
    const Result r = exportTool(kSetting + QStringList{"--out", dir.path()});
    QProcess::execute("chattr", {"-i", csv});
    QCOMPARE(r.status, 1);
    QVERIFY2(QString::fromUtf8(r.err).contains(csv + ": " + englishReason(EPERM)), r.err);
    QVERIFY(snapshot(QFile::encodeName(dir.path())) == older);
}

// A signal during the replacement waits until the unit is complete (or undone, when a later
// rename fails); a signal while the files are still being written ends the export at once. Either
// way the folder holds one whole set and no temporary.
void TestExportFiles::signalsWaitForTheUnit_data()
{
    QTest::addColumn<QStringList>("faults");
    QTest::addColumn<int>("status");
    QTest::addColumn<QString>("leaves");  // "newer", "older" or "either"
    QTest::newRow("INT at a rename")
        << QStringList{"KVELMOR_SIGNAL_AT_RENAME=3:2"} << 130 << "newer";
    QTest::newRow("TERM at a rename")
        << QStringList{"KVELMOR_SIGNAL_AT_RENAME=4:15"} << 143 << "newer";
    QTest::newRow("HUP at the last rename")
        << QStringList{"KVELMOR_SIGNAL_AT_RENAME=10:1"} << 129 << "newer";
    QTest::newRow("INT, then a failing rename")
        << QStringList{"KVELMOR_SIGNAL_AT_RENAME=3:2", "KVELMOR_FAIL_RENAME=6:5"} << 130 << "older";
    QTest::newRow("TERM while writing")
        << QStringList{"KVELMOR_SIGNAL_AT_FSYNC=3:15"} << 143 << "either";
}

void TestExportFiles::signalsWaitForTheUnit()
{
    QFETCH(QStringList, faults);
    QFETCH(int, status);
    QFETCH(QString, leaves);
    QTemporaryDir dir;
    writeOlderSet(dir.path());
    const Result r = exportTool(kSetting + QStringList{"--out", dir.path()}, withShim(faults));
    QCOMPARE(r.status, status);
    const auto after = snapshot(QFile::encodeName(dir.path()));
    const bool isNewer = after == newer, isOlder = after == older;
    QVERIFY2(leaves == "newer"   ? isNewer
             : leaves == "older" ? isOlder
                                 : isNewer || isOlder,
             "not one whole set, or a temporary left");
}

// An export stopped at its first rename has written its five temporaries and the record of its
// unit, and holds the folder.
// While it is stopped, another export into the folder leaves them alone and the stopped one then
// finishes; once it is killed instead, the next export removes what it left.
void TestExportFiles::killedExportsLeftoversGoButARunningOnesStay()
{
    QTemporaryDir dir;
    const QByteArray folder = QFile::encodeName(dir.path());
    auto stoppedExport = [&](QProcess& p, int atRename) {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        for (const QString& kv : withShim(
                 {QStringLiteral("KVELMOR_SIGNAL_AT_RENAME=%1:%2").arg(atRename).arg(SIGSTOP)})) {
            env.insert(kv.section('=', 0, 0), kv.section('=', 1));
        }
        p.setProcessEnvironment(env);
        p.start(kExport, kSetting + QStringList{"--out", dir.path()});
        return p.waitForStarted() && waitForStop(p.processId());
    };
    const QStringList other{"--frequency", "nizky", "--distance", "300", "--out", dir.path()};

    QProcess running;
    QVERIFY(stoppedExport(running, 1));
    const auto whileStopped = snapshot(folder);
    QCOMPARE(int(whileStopped.size()), 6);  // its five temporaries and its record
    QCOMPARE(exportTool(other).status, 0);
    auto withOther = snapshot(folder);
    for (const auto& [name, bytes] : whileStopped) QVERIFY2(withOther.count(name), name);
    kill(running.processId(), SIGCONT);
    QVERIFY(running.waitForFinished(60000));
    QCOMPARE(running.exitCode(), 0);
    withOther = snapshot(folder);
    for (const auto& [name, bytes] : newer) QVERIFY2(withOther[name] == bytes, name);
    QCOMPARE(int(withOther.size()), 10);

    // Killed after setting the older PNG aside, before its new one took the name.
    writeOlderSet(dir.path());
    QProcess killed;
    QVERIFY(stoppedExport(killed, 2));
    QVERIFY(!QFileInfo::exists(dir.filePath("kvelmor-0.6-350.png")));
    kill(killed.processId(), SIGKILL);
    QVERIFY(killed.waitForFinished(60000));
    QCOMPARE(exportTool(other).status, 0);
    auto after = snapshot(folder);
    QCOMPARE(int(after.size()), 10);
    for (const auto& [name, bytes] : older) QVERIFY2(after[name] == bytes, name);
}

// An export killed outright (no signal can be held) at any rename of the unit: the next export
// into the folder puts the older set back whole, or leaves no file of a set that had none.
void TestExportFiles::killedReplacementIsUndoneByTheNextExport_data()
{
    QTest::addColumn<int>("atRename");
    QTest::addColumn<bool>("hasOlderSet");
    for (int n = 1; n <= 10; ++n) QTest::addRow("rename %d", n) << n << true;
    QTest::newRow("no older set, rename 3") << 3 << false;
}

void TestExportFiles::killedReplacementIsUndoneByTheNextExport()
{
    QFETCH(int, atRename);
    QFETCH(bool, hasOlderSet);
    QTemporaryDir dir;
    if (hasOlderSet) writeOlderSet(dir.path());
    const QStringList killedAt{
        QStringLiteral("KVELMOR_SIGNAL_AT_RENAME=%1:%2").arg(atRename).arg(SIGKILL)};
    QCOMPARE(exportTool(kSetting + QStringList{"--out", dir.path()}, withShim(killedAt)).status,
             -1);
    QCOMPARE(exportTool({"--frequency", "nizky", "--distance", "300", "--out", dir.path()}).status,
             0);
    auto after = snapshot(QFile::encodeName(dir.path()));
    std::erase_if(after, [](const auto& file) { return file.first.contains("-300"); });
    QVERIFY2(after == (hasOlderSet ? older : decltype(older){}), "not the older set alone");
}

// A new file is readable as any new file would be (0666 less the umask): a pupil's account can
// open a teacher's worksheet.
void TestExportFiles::newFilesGetTheUmasksPermissions_data()
{
    QTest::addColumn<QString>("umask");
    QTest::addColumn<int>("mode");
    QTest::newRow("022") << "022" << 0644;
    QTest::newRow("002") << "002" << 0664;
    QTest::newRow("027") << "027" << 0640;
}

void TestExportFiles::newFilesGetTheUmasksPermissions()
{
    QFETCH(QString, umask);
    QFETCH(int, mode);
    QTemporaryDir dir;
    writeOlderSet(dir.path());  // replacing keeps no mode of the older files
    QCOMPARE(exportTool(kSetting + QStringList{"--out", dir.path()}, {}, "umask " + umask).status,
             0);
    for (const char* suffix : kSuffixes) {
        struct stat st;
        QVERIFY(stat(QFile::encodeName(dir.filePath("kvelmor-0.6-350") + suffix), &st) == 0);
        QCOMPARE(int(st.st_mode & 07777), mode);
    }
}

void TestExportFiles::fileSizeLimitFailsTheWrite()
{
    QTemporaryDir dir;
    writeOlderSet(dir.path());
    // 1000 blocks of 512 bytes: the PNG fits, the 2.6 MB SVG does not.
    const Result r = exportTool(kSetting + QStringList{"--out", dir.path()}, {}, "ulimit -f 1000");
    QCOMPARE(r.status, 1);
    QVERIFY2(QString::fromUtf8(r.err).contains(dir.filePath("kvelmor-0.6-350.svg") + ": " +
                                               englishReason(EFBIG)),
             r.err);
    QVERIFY(snapshot(QFile::encodeName(dir.path())) == older);
}

// A USB stick with FAT, mounted by fusefat (no kernel driver needed): no permissions to set, and
// still a whole set written, then replaced.
void TestExportFiles::fatStickTakesTheFiles()
{
    if (getuid() != 0) QSKIP("mounting a FAT image with fusefat needs root here");
    if (QStandardPaths::findExecutable("fusefat").isEmpty() ||
        QStandardPaths::findExecutable("mkfs.vfat", {"/usr/sbin", "/sbin"}).isEmpty()) {
        QSKIP("fusefat or mkfs.vfat is missing (scripts/setup installs them)");
    }
    QTemporaryDir dir;
    const QString image = dir.filePath("stick.img"), mount = dir.filePath("stick");
    QVERIFY(QDir().mkpath(mount));
    QFile img(image);
    QVERIFY(img.open(QIODevice::WriteOnly) && img.resize(16 << 20));
    img.close();
    QProcess mkfs;
    mkfs.start(QStandardPaths::findExecutable("mkfs.vfat", {"/usr/sbin", "/sbin"}), {image});
    QVERIFY(mkfs.waitForFinished() && mkfs.exitCode() == 0);
    QProcess fuse;
    fuse.start("fusefat", {"-o", "rw+", image, mount});
    if (!fuse.waitForFinished() || fuse.exitCode() != 0) {
        QSKIP(qPrintable("fusefat cannot mount here (no /dev/fuse?): " +
                         fuse.readAllStandardError().trimmed()));
    }
    const QString out = mount + "/pracovni listy";
    Result first = exportTool(kSetting + QStringList{"--out", out});
    const Result second = exportTool(kSetting + QStringList{"--out", out});
    const auto onStick = snapshot(QFile::encodeName(out));
    QProcess::execute("fusermount", {"-u", mount});
    QVERIFY2(first.status == 0, first.err);
    QVERIFY2(second.status == 0, second.err);
    QVERIFY(onStick == newer);
}

// Whatever the limit on memory, the export ends with status 0, or 1 and a message: never a hang,
// a crash or an abort.
void TestExportFiles::memoryLimitEndsWithAMessage_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("kilobytes");
    const QStringList all{"--all", "--scale", "4"},
        one{"--frequency", "vysoky", "--distance", "400", "--scale", "4"};
    for (int kb : {80000, 120000, 160000, 200000}) {
        QTest::addRow("one setting, %d kB", kb) << one << kb;
    }
    QTest::addRow("all at scale 4, 250000 kB") << all << 250000;
}

void TestExportFiles::memoryLimitEndsWithAMessage()
{
#ifdef KVELMOR_SANITIZED
    QSKIP("AddressSanitizer needs far more address space than any limit here leaves");
#endif
    QFETCH(QStringList, arguments);
    QFETCH(int, kilobytes);
    QTemporaryDir dir;
    const Result r = exportTool(arguments + QStringList{"--out", dir.path()}, {},
                                QStringLiteral("ulimit -c 0; ulimit -v %1").arg(kilobytes));
    QVERIFY2(r.status == 0 || r.status == 1, r.err);
    if (r.status == 1) {
        QVERIFY2(r.err.startsWith("kvelmor-export: ") && r.err.contains("memory"), r.err);
        QCOMPARE(r.err.count('\n'), 1);
    }
}

void TestExportFiles::folderNamesAreTheBytesGiven()
{
    QTemporaryDir dir;
    const QByteArray folder = QFile::encodeName(dir.path());
    // Not valid UTF-8 (an old stick's Latin-2 folder, 0xff added): written under exactly these
    // bytes, which only a shell can pass.
    Result r = exportTool(kSetting, {},
                          QStringLiteral("cd '%1' && set -- \"$@\" --out \"$(printf "
                                         "'sl\\377o\\350ka')\"")
                              .arg(dir.path()));
    QVERIFY2(r.status == 0, r.err);
    const bool same = snapshot(folder + "/sl\xffo\xe8ka") == newer;
    const int names = int(snapshot(folder).size());
    QProcess::execute("sh", {"-c", "rm -rf \"$0\"/sl*", dir.path()});  // beyond QTemporaryDir
    QVERIFY(same);
    QCOMPARE(names, 1);

    // A newline in a name is shown as \n, so the message stays one line.
    writeFile(dir.filePath("a\nb"), "a file, not a folder");
    r = exportTool(kSetting + QStringList{"--out", dir.filePath("a\nb/sub")});
    QCOMPARE(r.status, 1);
    QCOMPARE(r.err, ("kvelmor-export: cannot create directory " + dir.filePath("a\\nb") + ": " +
                     englishReason(ENOTDIR) + "\n")
                        .toUtf8());

    // A link to a folder that does not exist is named as such, not as "Not a directory".
    QVERIFY(QFile::link(dir.filePath("nowhere/at/all"), dir.filePath("stick")));
    r = exportTool(kSetting + QStringList{"--out", dir.filePath("stick")});
    QCOMPARE(r.status, 1);
    QVERIFY2(
        r.err.contains("symbolic link to " + QFile::encodeName(dir.filePath("nowhere/at/all"))),
        r.err);
}

// The same failure under each locale: Czech where the locale speaks Czech and its charset has the
// letters (in that charset), English, and only English, elsewhere.
void TestExportFiles::speaksOneLanguageInTheLocalesCharset_data()
{
    QTest::addColumn<QStringList>("environment");
    QTest::addColumn<QString>("czechLocale");  // the Czech locale whose bytes to expect; "" English
    QTest::newRow("cs_CZ.UTF-8") << QStringList{"LC_ALL=cs_CZ.UTF-8"} << "cs_CZ.UTF-8";
    QTest::newRow("cs_CZ.ISO-8859-2")
        << QStringList{"LC_ALL=cs_CZ.ISO-8859-2"} << "cs_CZ.ISO-8859-2";
    QTest::newRow("Czech messages, ASCII charset")
        << QStringList{"LC_ALL=", "LANG=cs_CZ.UTF-8", "LC_CTYPE=C"} << "";
    QTest::newRow("cs_SK.UTF-8, not installed") << QStringList{"LC_ALL=cs_SK.UTF-8"} << "";
    QTest::newRow("csb_PL.UTF-8 (Kashubian)") << QStringList{"LC_ALL=csb_PL.UTF-8"} << "";
}

void TestExportFiles::speaksOneLanguageInTheLocalesCharset()
{
    QFETCH(QStringList, environment);
    QFETCH(QString, czechLocale);
    for (const char* name : {"cs_SK.UTF-8", "csb_PL.UTF-8"}) {
        if (environment.first().endsWith(name) && std::setlocale(LC_ALL, name)) {
            std::setlocale(LC_ALL, "C");
            QSKIP("that locale is installed here");
        }
    }
    QByteArray expected = "cannot create directory %1: " + englishReason(ENOTDIR).toUtf8();
    if (!czechLocale.isEmpty()) {
        locale_t czech = newlocale(LC_ALL_MASK, czechLocale.toLatin1(), locale_t(nullptr));
        if (!czech) QSKIP("that Czech locale is not installed (scripts/setup makes it)");
        const locale_t old = uselocale(czech);
        // The message's own words in the locale's charset, then the system's reason as it is.
        const QString words = QStringLiteral("nelze založit adresář %1: ");
        expected.clear();
        for (const char32_t c : words.toUcs4()) {
            char bytes[MB_LEN_MAX];
            std::mbstate_t state{};
            expected += QByteArray(bytes, qsizetype(wcrtomb(bytes, wchar_t(c), &state)));
        }
        expected += strerror_l(ENOTDIR, czech);
        uselocale(old);
        freelocale(czech);
    }
    QTemporaryDir dir;
    writeFile(dir.filePath("file"), "");
    const Result r = exportTool({"--all", "--out", dir.filePath("file/sub")}, environment);
    QCOMPARE(r.status, 1);
    QCOMPARE(r.err, "kvelmor-export: " +
                        expected.replace("%1", QFile::encodeName(dir.filePath("file"))) + "\n");
}

void TestExportFiles::saysNothingOfTheToolkitAndFailsWithoutFonts()
{
    QTemporaryDir dir;
    // A runtime folder the toolkit finds wrong: it complains, but only to itself.
    QVERIFY(QDir().mkpath(dir.filePath("runtime")));
    QFile::setPermissions(dir.filePath("runtime"), QFileDevice::Permissions(0x7755));
    Result r = exportTool(kSetting + QStringList{"--out", dir.filePath("out")},
                          {"XDG_RUNTIME_DIR=" + dir.filePath("runtime")});
    QCOMPARE(r.status, 0);
    QCOMPARE(r.err, QByteArray());

    // A closed standard output is named as such.
    r = exportTool({"--help"}, {}, "exec >&-");
    QCOMPARE(r.status, 1);
    QCOMPARE(r.err, "kvelmor-export: cannot write to standard output: " +
                        englishReason(EBADF).toUtf8() + "\n");

    // No font at all: letters would be boxes, so nothing is written and the package is named.
    QVERIFY(QDir().mkpath(dir.filePath("nofonts")));
    writeFile(dir.filePath("fonts.conf"),
              "<?xml version=\"1.0\"?><fontconfig><dir>" +
                  QFile::encodeName(dir.filePath("nofonts")) + "</dir><cachedir>" +
                  QFile::encodeName(dir.filePath("cache")) + "</cachedir></fontconfig>");
    r = exportTool(kSetting + QStringList{"--out", dir.filePath("boxes")},
                   {"FONTCONFIG_FILE=" + dir.filePath("fonts.conf")});
    QCOMPARE(r.status, 1);
    QVERIFY2(r.err.contains("fonts-liberation2"), r.err);
    QVERIFY(!QFileInfo::exists(dir.filePath("boxes")));
}

QTEST_GUILESS_MAIN(TestExportFiles)
#include "tst_exportfiles.moc"
