#include "web/jsbindings.h"

#include <emscripten.h>

#include <cstdlib>

// Each binding passes its strings as UTF-8 pointers and calls one function of KvelmorPage
// (web/page.js and the scripts it lists); nothing here decides anything.

// clang-format off
EM_JS(void, kvjs_createWindow, (int width, int height, const char* back), {
    KvelmorPage.createWindow(width, height, UTF8ToString(back));
});
EM_JS(void, kvjs_setPageTexts, (const char* code, const char* title), {
    KvelmorPage.setPageTexts(UTF8ToString(code), UTF8ToString(title));
});
EM_JS(void, kvjs_setControlTexts, (const char* name, const char* caption,
                                   const char* accessibleName, const char* description), {
    KvelmorPage.setControlTexts(UTF8ToString(name), UTF8ToString(caption),
                                UTF8ToString(accessibleName), UTF8ToString(description));
});
EM_JS(void, kvjs_addControl, (const char* name, const char* kind, const char* container,
                              const char* caption, int left, int top, int width, int height,
                              const char* family, int size, int bold, int shown, int tabIndex,
                              const char* accessibleName, const char* accessibleDescription), {
    KvelmorPage.addControl({
        name: UTF8ToString(name), kind: UTF8ToString(kind), container: UTF8ToString(container),
        caption: UTF8ToString(caption), left: left, top: top, width: width, height: height,
        fontFamily: UTF8ToString(family), fontSize: size, bold: !!bold, shown: !!shown,
        tabIndex: tabIndex, accessibleName: UTF8ToString(accessibleName),
        accessibleDescription: UTF8ToString(accessibleDescription)
    });
});
EM_JS(void, kvjs_setScrollRange, (const char* name, int minimum, int maximum, int small,
                                  int large), {
    KvelmorPage.setScrollRange(UTF8ToString(name), minimum, maximum, small, large);
});
EM_JS(void, kvjs_finishWindow, (), { KvelmorPage.finishWindow(); });
EM_JS(char*, kvjs_boxText, (const char* name), {
    var text = KvelmorPage.boxText(UTF8ToString(name));
    var size = lengthBytesUTF8(text) + 1;
    var buffer = _malloc(size);
    stringToUTF8(text, buffer, size);
    return buffer;
});
EM_JS(void, kvjs_setBoxText, (const char* name, const char* text), {
    KvelmorPage.setBoxText(UTF8ToString(name), UTF8ToString(text));
});
EM_JS(void, kvjs_setOptionSelected, (const char* name, int selected, int tabIndex), {
    KvelmorPage.setOptionSelected(UTF8ToString(name), !!selected, tabIndex);
});
EM_JS(void, kvjs_placeLabel, (const char* name, int left, int top), {
    KvelmorPage.placeLabel(UTF8ToString(name), left, top);
});
EM_JS(void, kvjs_focusControl, (const char* name), {
    KvelmorPage.focusControl(UTF8ToString(name));
});
EM_JS(void, kvjs_createPicture, (int width, int height, double ratio), {
    KvelmorPage.createPicture(width, height, ratio);
});
EM_JS(void, kvjs_showPixels, (const unsigned char* rgba, int width, int height, int x, int y,
                              int w, int h), {
    KvelmorPage.showPixels(HEAPU8, rgba, width, height, x, y, w, h);
});
EM_JS(void, kvjs_setPictureTexts, (const char* name, const char* description), {
    KvelmorPage.setPictureTexts(UTF8ToString(name), UTF8ToString(description));
});
EM_JS(void, kvjs_setRunning, (int running), { KvelmorPage.setRunning(!!running); });
EM_JS(void, kvjs_showEnded, (const char* text, const char* restart), {
    KvelmorPage.showEnded(UTF8ToString(text), UTF8ToString(restart));
});
EM_JS(double, kvjs_pictureRatio, (), { return KvelmorPage.pictureRatio(); });
// Resumed by a timer that the frame's callback sets, so after the frame is painted; by the
// fallback timer alone where no frame comes.
EM_ASYNC_JS(void, kvjs_awaitNextFrame, (), {
    await new Promise(function (resume) {
        var fallback = setTimeout(resume, 100);
        requestAnimationFrame(function () {
            clearTimeout(fallback);
            setTimeout(resume, 0);
        });
    });
});
EM_JS(void, kvjs_failUnknownName, (const char* what, const char* name), {
    KvelmorPage.failUnknownName(UTF8ToString(what), UTF8ToString(name));
});
EM_JS(void, kvjs_setScrollValue, (const char* name, int value), {
    KvelmorPage.setScrollValue(UTF8ToString(name), value);
});
EM_JS(void, kvjs_createBar, (), { KvelmorPage.createBar(); });
EM_JS(void, kvjs_setBarTexts, (const char* name, const char* copied, const char* notCopied,
                               const char* fieldName, const char* closeNote), {
    KvelmorPage.setBarTexts(UTF8ToString(name), {
        linkCopied: UTF8ToString(copied), linkNotCopied: UTF8ToString(notCopied),
        linkFieldName: UTF8ToString(fieldName), closeNote: UTF8ToString(closeNote)
    });
});
EM_JS(void, kvjs_setPageText, (const char* key, const char* text), {
    KvelmorPage.setPageText(UTF8ToString(key), UTF8ToString(text));
});
EM_JS(void, kvjs_announce, (const char* text), { KvelmorPage.announce(UTF8ToString(text)); });
EM_JS(void, kvjs_addBarButton, (const char* id), { KvelmorPage.addBarButton(UTF8ToString(id)); });
EM_JS(void, kvjs_setBarButtonText, (const char* id, const char* caption, const char* language), {
    KvelmorPage.setBarButtonText(UTF8ToString(id), UTF8ToString(caption), UTF8ToString(language));
});
EM_JS(void, kvjs_addBarChoice, (const char* id, const char* captions, int selected), {
    KvelmorPage.addBarChoice(UTF8ToString(id), UTF8ToString(captions).split("|"), selected);
});
EM_JS(void, kvjs_setBarChoiceName, (const char* id, const char* name), {
    KvelmorPage.setBarChoiceName(UTF8ToString(id), UTF8ToString(name));
});
EM_JS(void, kvjs_setBarButton, (const char* id, int enabled, const char* description), {
    KvelmorPage.setBarButton(UTF8ToString(id), !!enabled, UTF8ToString(description));
});
EM_JS(void, kvjs_showNote, (const char* text, int shown), {
    KvelmorPage.showNote(UTF8ToString(text), !!shown);
});
EM_JS(char*, kvjs_addressQuery, (), {
    var text = KvelmorPage.addressQuery();
    var size = lengthBytesUTF8(text) + 1;
    var buffer = _malloc(size);
    stringToUTF8(text, buffer, size);
    return buffer;
});
EM_JS(void, kvjs_setAddress, (const char* query), {
    KvelmorPage.setAddress(UTF8ToString(query));
});
EM_JS(void, kvjs_saveFile, (const char* name, const char* type, const char* bytes, int size), {
    KvelmorPage.saveFile(UTF8ToString(name), UTF8ToString(type), HEAPU8.slice(bytes, bytes + size));
});
EM_JS(void, kvjs_savePicture, (const char* name, const unsigned char* rgba, int width, int height,
                               int ratio, const char* labels, const char* background), {
    KvelmorPage.savePicture(UTF8ToString(name), HEAPU8.slice(rgba, rgba + width * height * 4),
                            width, height, ratio, UTF8ToString(labels).split(","),
                            UTF8ToString(background));
});
// clang-format on

namespace kvelmor::js {

void createWindow(int width, int height, const std::string& backColour)
{
    kvjs_createWindow(width, height, backColour.c_str());
}

void setPageTexts(const std::string& languageCode, const std::string& title)
{
    kvjs_setPageTexts(languageCode.c_str(), title.c_str());
}

void setControlTexts(const std::string& name, const std::string& caption,
                     const std::string& accessibleName, const std::string& accessibleDescription)
{
    kvjs_setControlTexts(name.c_str(), caption.c_str(), accessibleName.c_str(),
                         accessibleDescription.c_str());
}

void addControl(const std::string& name, const std::string& kind, const std::string& container,
                const std::string& caption, int left, int top, int width, int height,
                const std::string& fontFamily, int fontSize, bool bold, bool shown, int tabIndex,
                const std::string& accessibleName, const std::string& accessibleDescription)
{
    kvjs_addControl(name.c_str(), kind.c_str(), container.c_str(), caption.c_str(), left, top,
                    width, height, fontFamily.c_str(), fontSize, bold, shown, tabIndex,
                    accessibleName.c_str(), accessibleDescription.c_str());
}

void setScrollRange(const std::string& name, int minimum, int maximum, int smallStep, int largeStep)
{
    kvjs_setScrollRange(name.c_str(), minimum, maximum, smallStep, largeStep);
}

void finishWindow()
{
    kvjs_finishWindow();
}

std::string boxText(const std::string& name)
{
    char* text = kvjs_boxText(name.c_str());
    std::string result(text);
    std::free(text);
    return result;
}

void setBoxText(const std::string& name, const std::string& text)
{
    kvjs_setBoxText(name.c_str(), text.c_str());
}

void setOptionSelected(const std::string& name, bool selected, int tabIndex)
{
    kvjs_setOptionSelected(name.c_str(), selected, tabIndex);
}

void placeLabel(const std::string& name, int left, int top)
{
    kvjs_placeLabel(name.c_str(), left, top);
}

void focusControl(const std::string& name)
{
    kvjs_focusControl(name.c_str());
}

void createPicture(int width, int height, double ratio)
{
    kvjs_createPicture(width, height, ratio);
}

void showPixels(const std::uint8_t* rgba, int width, int height, int x, int y, int w, int h)
{
    kvjs_showPixels(rgba, width, height, x, y, w, h);
}

void setPictureTexts(const std::string& name, const std::string& description)
{
    kvjs_setPictureTexts(name.c_str(), description.c_str());
}

void setRunning(bool running)
{
    kvjs_setRunning(running);
}

void showEnded(const std::string& text, const std::string& restart)
{
    kvjs_showEnded(text.c_str(), restart.c_str());
}

void setScrollValue(const std::string& name, int value)
{
    kvjs_setScrollValue(name.c_str(), value);
}

void createBar()
{
    kvjs_createBar();
}

void setBarTexts(const std::string& name, const std::string& linkCopied,
                 const std::string& linkNotCopied, const std::string& linkFieldName,
                 const std::string& closeNote)
{
    kvjs_setBarTexts(name.c_str(), linkCopied.c_str(), linkNotCopied.c_str(), linkFieldName.c_str(),
                     closeNote.c_str());
}

void setPageText(const std::string& key, const std::string& text)
{
    kvjs_setPageText(key.c_str(), text.c_str());
}

void announce(const std::string& text)
{
    kvjs_announce(text.c_str());
}

void addBarButton(const std::string& id)
{
    kvjs_addBarButton(id.c_str());
}

void setBarButtonText(const std::string& id, const std::string& caption,
                      const std::string& captionLanguage)
{
    kvjs_setBarButtonText(id.c_str(), caption.c_str(), captionLanguage.c_str());
}

void addBarChoice(const std::string& id, const std::vector<std::string>& captions, int selected)
{
    std::string joined;
    for (const std::string& caption : captions) joined += (joined.empty() ? "" : "|") + caption;
    kvjs_addBarChoice(id.c_str(), joined.c_str(), selected);
}

void setBarChoiceName(const std::string& id, const std::string& name)
{
    kvjs_setBarChoiceName(id.c_str(), name.c_str());
}

void setBarButton(const std::string& id, bool enabled, const std::string& description)
{
    kvjs_setBarButton(id.c_str(), enabled, description.c_str());
}

void showNote(const std::string& text, bool shown)
{
    kvjs_showNote(text.c_str(), shown);
}

std::string addressQuery()
{
    char* text = kvjs_addressQuery();
    std::string result(text);
    std::free(text);
    return result;
}

void setAddress(const std::string& query)
{
    kvjs_setAddress(query.c_str());
}

void saveFile(const std::string& name, const std::string& type, const std::string& bytes)
{
    kvjs_saveFile(name.c_str(), type.c_str(), bytes.data(), int(bytes.size()));
}

void savePicture(const std::string& name, const std::vector<std::uint8_t>& rgba, int width,
                 int height, int ratio, const std::string& labels, const std::string& background)
{
    kvjs_savePicture(name.c_str(), rgba.data(), width, height, ratio, labels.c_str(),
                     background.c_str());
}

double pictureRatio()
{
    return kvjs_pictureRatio();
}

void failUnknownName(const std::string& what, const std::string& name)
{
    kvjs_failUnknownName(what.c_str(), name.c_str());
    std::abort();  // not reached: the page has thrown its error
}

double nowMilliseconds()
{
    return emscripten_get_now();
}

void sleepMilliseconds(int ms)
{
    emscripten_sleep(static_cast<unsigned>(ms));
}

void awaitNextFrame()
{
    kvjs_awaitNextFrame();
}

}  // namespace kvelmor::js
