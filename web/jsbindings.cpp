#include "web/jsbindings.h"

#include <emscripten.h>

#include <cstdlib>

// Each binding passes its strings as UTF-8 pointers and calls one function of KvelmorPage
// (web/page.js); nothing here decides anything.

// clang-format off
EM_JS(void, kvjs_createWindow, (int width, int height, const char* back, const char* title,
                                const char* pictureName, const char* description), {
    KvelmorPage.createWindow(width, height, UTF8ToString(back), UTF8ToString(title),
                             UTF8ToString(pictureName), UTF8ToString(description));
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
EM_JS(void, kvjs_setPictureDescription, (const char* text), {
    KvelmorPage.setPictureDescription(UTF8ToString(text));
});
EM_JS(void, kvjs_setRunning, (int running), { KvelmorPage.setRunning(!!running); });
EM_JS(void, kvjs_showEnded, (const char* text, const char* restart), {
    KvelmorPage.showEnded(UTF8ToString(text), UTF8ToString(restart));
});
EM_JS(double, kvjs_pictureRatio, (), { return KvelmorPage.pictureRatio(); });
EM_JS(void, kvjs_failUnknownName, (const char* what, const char* name), {
    KvelmorPage.failUnknownName(UTF8ToString(what), UTF8ToString(name));
});
// clang-format on

namespace kvelmor::js {

void createWindow(int width, int height, const std::string& backColour, const std::string& title,
                  const std::string& pictureName, const std::string& pictureDescription)
{
    kvjs_createWindow(width, height, backColour.c_str(), title.c_str(), pictureName.c_str(),
                      pictureDescription.c_str());
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

void setPictureDescription(const std::string& text)
{
    kvjs_setPictureDescription(text.c_str());
}

void setRunning(bool running)
{
    kvjs_setRunning(running);
}

void showEnded(const std::string& text, const std::string& restart)
{
    kvjs_showEnded(text.c_str(), restart.c_str());
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

}  // namespace kvelmor::js
