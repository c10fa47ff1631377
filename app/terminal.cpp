#include "app/terminal.h"

#include <fcntl.h>
#include <langinfo.h>
#include <unistd.h>

#include <QRegularExpression>
#include <cerrno>
#include <clocale>
#include <cstdlib>
#include <cstring>
#include <cwchar>
#include <cwctype>

namespace kvelmor {

namespace {

// Every letter of the Czech alphabet that is not plain ASCII, small and capital.
const char32_t kCzechLetters[] = U"áčďéěíňóřšťúůýžÁČĎÉĚÍŇÓŘŠŤÚŮÝŽ";

// The locale's charset is plain ASCII (the C and POSIX locales).
bool asciiLocale()
{
    const char* codeset = nl_langinfo(CODESET);
    return std::strcmp(codeset, "ANSI_X3.4-1968") == 0 || std::strcmp(codeset, "ASCII") == 0;
}

// One character of the locale's charset as its bytes, or nothing when the charset lacks it.
QByteArray localeBytes(char32_t c)
{
    char bytes[MB_LEN_MAX];
    std::mbstate_t state{};
    const std::size_t n = std::wcrtomb(bytes, wchar_t(c), &state);
    return n == std::size_t(-1) ? QByteArray() : QByteArray(bytes, qsizetype(n));
}

// Walks `bytes` character by character in the locale's charset: `character(c, from, length)` for
// each character read, `unread(byte)` for each byte that starts no character.
template <typename Character, typename Unread>
void readLocale(const QByteArray& bytes, Character character, Unread unread)
{
    std::mbstate_t state{};
    qsizetype at = 0;
    while (at < bytes.size()) {
        wchar_t c;
        const std::size_t n =
            std::mbrtowc(&c, bytes.constData() + at, std::size_t(bytes.size() - at), &state);
        if (n == std::size_t(-1) || n == std::size_t(-2)) {
            unread(static_cast<unsigned char>(bytes[at]));
            state = {};
            ++at;
        } else {
            const qsizetype length = n == 0 ? 1 : qsizetype(n);  // n == 0: a NUL byte
            character(char32_t(c), at, length);
            at += length;
        }
    }
}

QString fromUcs4(char32_t c)
{
    return QString::fromUcs4(&c, 1);
}

// The charset of the locale in force has every Czech letter.
bool charsetHoldsCzech()
{
    for (const char32_t* c = kCzechLetters; *c; ++c) {
        if (localeBytes(*c).isEmpty()) return false;
    }
    return true;
}

// The locale in force has Czech messages (the C library's reasons among them).
bool czechMessagesInForce()
{
    const char* messages = std::setlocale(LC_MESSAGES, nullptr);
    return messages && isCzechLocale(QString::fromLatin1(messages));
}

// The locale in force with Czech messages, from whichever Czech locale is installed, for the
// system's reasons in Czech under a locale of another language; nullptr when none is. Its texts
// come in the charset of the locale in force.
locale_t czechMessages()
{
    static const locale_t czech = [] {
        for (const char* name : {"cs_CZ.UTF-8", "cs_CZ.ISO-8859-2", "cs_CZ", "cs"}) {
            const locale_t base = ::duplocale(LC_GLOBAL_LOCALE);
            if (!base) return locale_t(nullptr);
            if (const locale_t made = ::newlocale(LC_MESSAGES_MASK, name, base)) return made;
            ::freelocale(base);
        }
        return locale_t(nullptr);
    }();
    return czech;
}

}  // namespace

void useTheUsersLocale()
{
    std::setlocale(LC_ALL, "");
    ::unsetenv("LANGUAGE");
}

bool isCzechLocale(const QString& localeName)
{
    const qsizetype end = localeName.indexOf(QRegularExpression(QStringLiteral("[_.@]")));
    return localeName.left(end) == QLatin1String("cs");
}

bool prefersCzech()
{
    return czechMessagesInForce() && charsetHoldsCzech();
}

Language messageLanguage(std::optional<Language> asked)
{
    if (!asked) return prefersCzech() ? Language::Czech : Language::English;
    if (*asked == Language::English || !charsetHoldsCzech()) return Language::English;
    return czechMessagesInForce() || czechMessages() ? Language::Czech : Language::English;
}

bool localeNamesCzech()
{
    for (const char* variable : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
        const char* value = std::getenv(variable);
        if (value && *value) return isCzechLocale(QString::fromLocal8Bit(value));
    }
    return false;
}

QString argumentText(const QByteArray& bytes)
{
    if (asciiLocale()) return QString::fromUtf8(bytes);
    QString text;
    readLocale(
        bytes, [&](char32_t c, qsizetype, qsizetype) { text += fromUcs4(c); },
        [&](unsigned char) { text += QChar::ReplacementCharacter; });
    return text;
}

QString shownBytes(const QByteArray& bytes)
{
    QString text;
    auto escape = [&](unsigned char byte) {
        text += QStringLiteral("\\x%1").arg(unsigned(byte), 2, 16, QLatin1Char('0'));
    };
    readLocale(
        bytes,
        [&](char32_t c, qsizetype from, qsizetype length) {
            if (c == U'\n') {
                text += QLatin1String("\\n");
            } else if (c == U'\t') {
                text += QLatin1String("\\t");
            } else if (c == U'\\' || !std::iswprint(wint_t(c))) {
                // A backslash doubles, so that a typed "\x41" is not taken for an escape.
                if (c == U'\\') {
                    text += QLatin1String("\\\\");
                } else {
                    for (qsizetype i = from; i < from + length; ++i) escape(bytes[i]);
                }
            } else {
                text += fromUcs4(c);
            }
        },
        escape);
    return text;
}

QString systemReason(int error, Language language)
{
    // strerror() speaks the language of the user's locale, in its charset; the C locale's text is
    // the untranslated English one.
    static const locale_t english = ::newlocale(LC_ALL_MASK, "C", locale_t(nullptr));
    if (language == Language::Czech) {
        if (czechMessagesInForce()) return argumentText(QByteArray(std::strerror(error)));
        if (const locale_t czech = czechMessages()) {
            return argumentText(QByteArray(::strerror_l(error, czech)));
        }
    }
    if (!english) return argumentText(QByteArray(std::strerror(error)));
    return QString::fromLatin1(::strerror_l(error, english));
}

int writeText(int fd, const QString& text)
{
    QByteArray bytes;
    for (const char32_t c : text.toUcs4()) {
        const QByteArray one = localeBytes(c);
        bytes += one.isEmpty() ? QByteArray("?") : one;
    }
    return writeAll(fd, bytes);
}

int writeAll(int fd, const QByteArray& bytes)
{
    const char* data = bytes.constData();
    qsizetype left = bytes.size();
    while (left > 0) {
        const ssize_t written = ::write(fd, data, std::size_t(left));
        if (written < 0) {
            if (errno == EINTR) continue;
            return errno;
        }
        data += written;
        left -= written;
    }
    return 0;
}

void keepStandardDescriptors()
{
    for (int fd = 0; fd <= 2; ++fd) {
        if (::fcntl(fd, F_GETFD) != -1 || errno != EBADF) continue;
        const int opened = ::open("/dev/null", O_RDONLY);
        if (opened >= 0 && opened != fd) {
            ::dup2(opened, fd);
            ::close(opened);
        }
    }
}

}  // namespace kvelmor
