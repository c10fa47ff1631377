// What the page's file says before its program starts, taken from the table of texts when the
// page is built: the note on a damaged copy, and the note for a browser without JavaScript. The
// page cannot know its language then, so each note is written in both, each part marked with its
// language. Run by Node.js at build time:
//   staticnotes DAMAGED_FILE NO_SCRIPT_FILE
#include <cstdio>
#include <string>
#include <string_view>

#include "layout/texts.h"

using namespace kvelmor;

namespace {

std::string escaped(std::string_view text)
{
    std::string html;
    for (char c : text) {
        switch (c) {
        case '&':
            html += "&amp;";
            break;
        case '<':
            html += "&lt;";
            break;
        case '>':
            html += "&gt;";
            break;
        case '"':
            html += "&quot;";
            break;
        default:
            html += c;
        }
    }
    return html;
}

// `key` in Czech and in English, each in an element `tag` marked with its language.
std::string inBothLanguages(TextKey key, std::string_view tag, std::string_view between)
{
    std::string html;
    for (Language language : {Language::Czech, Language::English}) {
        if (!html.empty()) html += between;
        html += "<" + std::string(tag) + " lang=\"" + std::string(languageCode(language)) + "\">" +
                escaped(text(key, language)) + "</" + std::string(tag) + ">";
    }
    return html;
}

bool write(const char* path, const std::string& html)
{
    std::FILE* file = std::fopen(path, "wb");
    if (!file) return false;
    const bool written = std::fwrite(html.data(), 1, html.size(), file) == html.size();
    return std::fclose(file) == 0 && written;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 3) {
        std::fputs("usage: staticnotes DAMAGED_FILE NO_SCRIPT_FILE\n", stderr);
        return 2;
    }
    const bool written = write(argv[1], inBothLanguages(TextKey::PageDamaged, "p", "\n")) &&
                         write(argv[2], inBothLanguages(TextKey::PageNeedsJavaScript, "p", ""));
    if (!written) std::perror("staticnotes");
    return written ? 0 : 1;
}
