// kvelmor-export's five files of a setting as one unit, as a teacher meets it: a stick that fails
// halfway, Ctrl+C, a FAT stick, a memory or file size limit, a pipe or network file system that
// takes a write in parts, a closed standard error, odd folder names and locales. Faults are made
// real (chattr, fusefat, ulimit) or injected by a preloaded shim. What a killed export leaves, and
// what others leave in a shared folder, is tst_exporttrust's.
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QTemporaryDir>
#include <QtTest>
#include <clocale>
#include <csignal>
#include <cstring>
#include <map>

#include "exportprocess.h"

using namespace exporttest;

class TestExportFiles : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void failedWriteLeavesTheOlderSet_data();
    void failedWriteLeavesTheOlderSet();
    void signalsWaitForTheUnit_data();
    void signalsWaitForTheUnit();
    void shortWritesGiveTheSameBytes_data();
    void shortWritesGiveTheSameBytes();
    void closedStandardErrorIsNotReused();
    void newFilesGetTheUmasksPermissions();
    void fatStickTakesTheFiles();
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
    QVERIFY(writeOlderSet(work.filePath("older")));
    older = snapshot(work.filePath("older"));
    const Result r = exportInto(work.filePath("newer"));
    QVERIFY2(r.status == 0, r.err.constData());
    newer = snapshot(work.filePath("newer"));
    QCOMPARE(int(newer.size()), 5);
}

// A fault of the shim ("KVELMOR_..."), a shell limit ("ulimit ...") or an immutable file
// ("chattr"). Renames count from 1: with an older set, rename 2k-1 sets file k's older file aside
// and rename 2k puts the new one in its place; without one, rename k places file k.
void TestExportFiles::failedWriteLeavesTheOlderSet_data()
{
    QTest::addColumn<QString>("fault");
    QTest::addColumn<QString>("named");  // the file the one line of the message names
    QTest::addColumn<int>("error");
    QTest::addColumn<bool>("hasOlderSet");
    QTest::newRow("first new file") << "KVELMOR_FAIL_RENAME=2:5"
                                    << ".png" << EIO << true;
    QTest::newRow("setting the SVG aside") << "KVELMOR_FAIL_RENAME=3:16"
                                           << ".svg" << EBUSY << true;
    QTest::newRow("the CSV, midway") << "KVELMOR_FAIL_RENAME=6:28"
                                     << ".csv" << ENOSPC << true;
    QTest::newRow("the last file") << "KVELMOR_FAIL_RENAME=10:122"
                                   << "-plot.png" << EDQUOT << true;
    QTest::newRow("no older set") << "KVELMOR_FAIL_RENAME=3:5"
                                  << ".csv" << EIO << false;
    QTest::newRow("sync to disk") << "KVELMOR_FAIL_FSYNC=5"
                                  << ".png" << EIO << true;
    QTest::newRow("close") << "KVELMOR_FAIL_CLOSE=122"
                           << ".png" << EDQUOT << true;
    // 400 blocks of 512 bytes: the PNG fits, the SVG of about 330 KB does not.
    QTest::newRow("file size limit") << "ulimit -f 400"
                                     << ".svg" << EFBIG << true;
    QTest::newRow("immutable CSV") << "chattr"
                                   << ".csv" << EPERM << true;
    // A shared sticky folder: a pupil's export may not move the teacher's CSV.
    QTest::newRow("another's CSV in a sticky folder") << "sticky"
                                                      << ".csv" << EPERM << true;
}

void TestExportFiles::failedWriteLeavesTheOlderSet()
{
    QFETCH(QString, fault);
    QFETCH(QString, named);
    QFETCH(int, error);
    QFETCH(bool, hasOlderSet);
    QTemporaryDir dir;
    if (hasOlderSet) QVERIFY(writeOlderSet(dir.path()));
    const auto before = snapshot(dir.path());
    const QString file = dir.filePath("kvelmor-0.6-350" + named);
    if (fault == "chattr" && QProcess::execute("chattr", {"+i", file}) != 0) {
        QSKIP("chattr +i needs root and ext4");
    }
    QString shell = fault;
    if (fault == "sticky") {
        if (::geteuid() != 0) QSKIP("giving files to other users needs root");
        QVERIFY(::chmod(QFile::encodeName(dir.path()), 01777) == 0);
        for (const auto& [name, bytes] : before) {
            QVERIFY(::chown(QFile::encodeName(dir.filePath(name)),
                            name.endsWith(".csv") ? 1 : 65534, 65534) == 0);
        }
        shell = R"(exec setpriv --reuid=65534 --regid=65534 --clear-groups "$0" "$@")";
    }
    const Result r = fault.startsWith("KVELMOR_") ? exportInto(dir.path(), withShim({fault}))
                     : fault == "chattr"          ? exportInto(dir.path())
                                                  : exportInto(dir.path(), {}, shell);
    if (fault == "chattr") QProcess::execute("chattr", {"-i", file});
    QCOMPARE(r.status, 1);
    QVERIFY2(r.err.contains((file + ": " + englishReason(error)).toUtf8()), r.err);
    QCOMPARE(r.err.count('\n'), 1);
    QVERIFY2(snapshot(dir.path()) == before, "the folder changed");
}

// A signal during the replacement waits until the unit is complete (or undone, when a later
// rename fails); a signal while the files are still being written ends the export at once. Either
// way the folder holds one whole set and no temporary. A signal taken only after the last unit
// (the shim delays it) still ends the export with its status; one ignored when the export started
// (nohup, a job started with &) stays ignored.
void TestExportFiles::signalsWaitForTheUnit_data()
{
    QTest::addColumn<QString>("faults");
    QTest::addColumn<QString>("shell");
    QTest::addColumn<int>("status");
    QTest::addColumn<QString>("leaves");  // "newer", "older" or "either"
    QTest::newRow("INT at a rename") << "KVELMOR_SIGNAL_AT_RENAME=3:2"
                                     << "" << 130 << "newer";
    QTest::newRow("TERM at a rename") << "KVELMOR_SIGNAL_AT_RENAME=4:15"
                                      << "" << 143 << "newer";
    QTest::newRow("HUP at the last rename") << "KVELMOR_SIGNAL_AT_RENAME=10:1"
                                            << "" << 129 << "newer";
    QTest::newRow("HUP at the last rename, taken late")
        << "KVELMOR_SIGNAL_AT_RENAME=10:1 KVELMOR_SLOW_SIGNALS=3000"
        << "" << 129 << "newer";
    QTest::newRow("INT, then a failing rename")
        << "KVELMOR_SIGNAL_AT_RENAME=3:2 KVELMOR_FAIL_RENAME=6:5"
        << "" << 130 << "older";
    QTest::newRow("TERM while writing") << "KVELMOR_SIGNAL_AT_FSYNC=3:15"
                                        << "" << 143 << "either";
    QTest::newRow("HUP under nohup") << "KVELMOR_SIGNAL_AT_RENAME=3:1"
                                     << "trap '' HUP" << 0 << "newer";
    QTest::newRow("INT in a job started with &") << "KVELMOR_SIGNAL_AT_RENAME=3:2"
                                                 << "trap '' INT" << 0 << "newer";
}

void TestExportFiles::signalsWaitForTheUnit()
{
    QFETCH(QString, faults);
    QFETCH(QString, shell);
    QFETCH(int, status);
    QFETCH(QString, leaves);
    QTemporaryDir dir;
    QVERIFY(writeOlderSet(dir.path()));
    QCOMPARE(exportInto(dir.path(), withShim(faults.split(' ')), shell).status, status);
    const auto after = snapshot(dir.path());
    QVERIFY2((leaves != "older" && after == newer) || (leaves != "newer" && after == older),
             "not one whole set, or a temporary left");
}

// A new file is readable as any new file would be (0666 less the umask): a pupil's account can
// open a teacher's worksheet. Replacing keeps no mode of the older files.
void TestExportFiles::newFilesGetTheUmasksPermissions()
{
    for (const auto& [umask, mode] : {std::pair{"022", 0644}, {"002", 0664}, {"027", 0640}}) {
        QTemporaryDir dir;
        QVERIFY(writeOlderSet(dir.path()));
        QCOMPARE(exportInto(dir.path(), {}, QStringLiteral("umask ") + umask).status, 0);
        for (const char* suffix : kSuffixes) {
            struct stat st;
            QVERIFY(stat(QFile::encodeName(dir.filePath("kvelmor-0.6-350") + suffix), &st) == 0);
            QVERIFY2(int(st.st_mode & 07777) == mode, umask);
        }
    }
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
    QVERIFY(QProcess::execute(
                "sh",
                {"-c",
                 "truncate -s 16M \"$0\" && PATH=$PATH:/sbin:/usr/sbin mkfs.vfat \"$0\" >/dev/null",
                 image}) == 0);
    QProcess fuse;
    fuse.start("fusefat", {"-o", "rw+", image, mount});
    if (!fuse.waitForFinished() || fuse.exitCode() != 0) {
        QSKIP(qPrintable("fusefat cannot mount here (no /dev/fuse?): " +
                         fuse.readAllStandardError().trimmed()));
    }
    const QString out = mount + "/pracovni listy";
    const Result first = exportInto(out), second = exportInto(out);
    const auto onStick = snapshot(out);
    QProcess::execute("fusermount", {"-u", mount});
    QVERIFY2(first.status == 0, first.err);
    QVERIFY2(second.status == 0, second.err);
    QVERIFY(onStick == newer);
}

// Whatever the limit on memory (in kB), the export ends with status 0, or 1 and a one-line
// message: never a hang, a crash or an abort.
void TestExportFiles::memoryLimitEndsWithAMessage()
{
#ifdef KVELMOR_SANITIZED
    QSKIP("AddressSanitizer needs far more address space than any limit here leaves");
#endif
    const QStringList one{"--frequency", "vysoky", "--distance", "400", "--scale", "4"};
    for (const auto& [arguments, kilobytes] : {std::pair{one, 80000},
                                               {one, 120000},
                                               {one, 160000},
                                               {one, 200000},
                                               {QStringList{"--all", "--scale", "4"}, 250000}}) {
        QTemporaryDir dir;
        const Result r = exportTool(arguments + QStringList{"--out", dir.path()}, {},
                                    QStringLiteral("ulimit -c 0; ulimit -v %1").arg(kilobytes));
        QVERIFY2(r.status == 0 || (r.status == 1 && r.err.startsWith("kvelmor-export: ") &&
                                   r.err.contains("memory") && r.err.count('\n') == 1),
                 qPrintable(QStringLiteral("%1 kB: %2").arg(kilobytes).arg(r.err)));
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
    QVERIFY(writeFile(dir.filePath("a\nb"), "a file, not a folder"));
    r = exportInto(dir.filePath("a\nb/sub"));
    QCOMPARE(r.status, 1);
    QCOMPARE(r.err, ("kvelmor-export: cannot create directory " + dir.filePath("a\\nb") + ": " +
                     englishReason(ENOTDIR) + "\n")
                        .toUtf8());

    // A link to a folder that does not exist is named as such, not as "Not a directory".
    QVERIFY(QFile::link(dir.filePath("nowhere/at/all"), dir.filePath("stick")));
    r = exportInto(dir.filePath("stick"));
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
    const QByteArray asked = environment.first().section('=', 1).toLatin1();
    if (czechLocale.isEmpty() && !asked.isEmpty() && std::setlocale(LC_ALL, asked)) {
        std::setlocale(LC_ALL, "C");
        QSKIP("that locale is installed here");
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
    QVERIFY(writeFile(dir.filePath("file"), ""));
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
    Result r = exportInto(dir.filePath("out"), {"XDG_RUNTIME_DIR=" + dir.filePath("runtime")});
    QCOMPARE(r.status, 0);
    QCOMPARE(r.err, QByteArray());

    // A closed standard output is named as such.
    r = exportTool({"--help"}, {}, "exec >&-");
    QCOMPARE(r.status, 1);
    QCOMPARE(r.err, "kvelmor-export: cannot write to standard output: " +
                        englishReason(EBADF).toUtf8() + "\n");

    // No font at all: letters would be boxes, so nothing is written and the package is named.
    QVERIFY(QDir().mkpath(dir.filePath("nofonts")));
    QVERIFY(writeFile(dir.filePath("fonts.conf"),
                      "<?xml version=\"1.0\"?><fontconfig><dir>" +
                          QFile::encodeName(dir.filePath("nofonts")) + "</dir><cachedir>" +
                          QFile::encodeName(dir.filePath("cache")) + "</cachedir></fontconfig>"));
    r = exportInto(dir.filePath("boxes"), {"FONTCONFIG_FILE=" + dir.filePath("fonts.conf")});
    QCOMPARE(r.status, 1);
    QVERIFY2(r.err.contains("fonts-liberation2"), r.err);
    QVERIFY(!QFileInfo::exists(dir.filePath("boxes")));
}

// A write that takes only part of its bytes (a pipe, a FUSE or network file system, a slow disk)
// is followed by one with the rest: one byte at a time or in random parts, the files are the
// bytes of a normal export, and so is what the export prints.
void TestExportFiles::shortWritesGiveTheSameBytes_data()
{
    QTest::addColumn<QString>("writes");
    QTest::newRow("one byte at a time") << "1";
    QTest::newRow("random parts, seed 1") << "random:1";
    QTest::newRow("random parts, seed 29") << "random:29";
}

void TestExportFiles::shortWritesGiveTheSameBytes()
{
    QFETCH(QString, writes);
    QTemporaryDir dir;
    const Result r = exportInto(dir.path(), withShim({"KVELMOR_SHORT_WRITES=" + writes}));
    QVERIFY2(r.status == 0, r.err);
    QVERIFY(snapshot(dir.path()) == newer);
    for (const QStringList& arguments : {QStringList{"--help"}, QStringList{"--bogus"}}) {
        const Result whole = exportTool(arguments);
        const Result parts = exportTool(arguments, withShim({"KVELMOR_SHORT_WRITES=" + writes}));
        QVERIFY(whole.out.size() + whole.err.size() > 40);
        QCOMPARE(parts.out, whole.out);
        QCOMPARE(parts.err, whole.err);
    }
}

// With standard error closed, descriptor 2 is /dev/null while the export works (not a file or
// a descriptor of the toolkit that would take its messages), and a failure still ends it with
// status 1, the older set kept.
void TestExportFiles::closedStandardErrorIsNotReused()
{
    QTemporaryDir dir;
    QVERIFY(writeOlderSet(dir.path()));
    QProcess stopped;
    startExport(stopped, kSetting + QStringList{"--out", dir.path()},
                withShim({QStringLiteral("KVELMOR_SIGNAL_AT_RENAME=1:%1").arg(SIGSTOP)}),
                "exec 2>&-");
    QVERIFY(stopped.waitForStarted() && waitForStop(stopped.processId()));
    const QString errorFile =
        QFile::symLinkTarget(QStringLiteral("/proc/%1/fd/2").arg(stopped.processId()));
    kill(stopped.processId(), SIGCONT);
    QCOMPARE(errorFile, QStringLiteral("/dev/null"));
    QCOMPARE(ended(stopped).status, 0);
    QVERIFY(snapshot(dir.path()) == newer);

    QVERIFY(writeOlderSet(dir.path()));
    const auto before = snapshot(dir.path());
    const Result r = exportInto(dir.path(), withShim({"KVELMOR_FAIL_RENAME=4:5"}), "exec 2>&-");
    QCOMPARE(r.status, 1);
    QVERIFY2(snapshot(dir.path()) == before, "the folder changed");
}

QTEST_GUILESS_MAIN(TestExportFiles)
#include "tst_exportfiles.moc"
