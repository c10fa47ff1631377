#include "web/explorerbindings.h"

#include <emscripten.h>

#include "web/pagetexts.h"

// Each binding calls one function of KvelmorPage (web/explorer.js, web/explorersaving.js) with its
// strings as UTF-8 pointers; nothing here decides anything.

// clang-format off
EM_JS(void, kvjs_createExplorer, (int choices), { KvelmorPage.createExplorer(choices); });
EM_JS(void, kvjs_showExplorer, (int shown), { KvelmorPage.showExplorer(!!shown); });
EM_JS(void, kvjs_setExplorerText, (const char* id, const char* caption, const char* description), {
    KvelmorPage.setExplorerText(UTF8ToString(id), UTF8ToString(caption), UTF8ToString(description));
});
EM_JS(void, kvjs_setExplorerHint, (const char* hint), {
    KvelmorPage.setExplorerHint(UTF8ToString(hint));
});
EM_JS(void, kvjs_setExplorerEnabled, (int enabled), {
    KvelmorPage.setExplorerEnabled(!!enabled);
});
EM_JS(void, kvjs_showExplorerPicture, (const char* id, const unsigned char* rgba, int width,
                                       int height, double ratio), {
    KvelmorPage.showExplorerPicture(UTF8ToString(id), HEAPU8, rgba, width, height, ratio);
});
EM_JS(void, kvjs_showExplorerScale, (const char* text, double left, double top, double width,
                                     double height, double size), {
    KvelmorPage.showExplorerScale(UTF8ToString(text), left, top, width, height, size);
});
EM_JS(void, kvjs_setExplorerState, (int step, const char* heightText, int choice, int sweep), {
    KvelmorPage.setExplorerState(step, UTF8ToString(heightText), choice, sweep);
});
EM_JS(void, kvjs_setExplorerReadout, (const char* id, const char* value), {
    KvelmorPage.setExplorerReadout(UTF8ToString(id), UTF8ToString(value));
});
EM_JS(void, kvjs_describeExplorerChain, (const char* description), {
    KvelmorPage.describeExplorerChain(UTF8ToString(description));
});
EM_JS(void, kvjs_announceExplorerSoon, (const char* text), {
    KvelmorPage.announceExplorerSoon(UTF8ToString(text));
});
EM_JS(void, kvjs_requestExplorerFrame, (), { KvelmorPage.requestExplorerFrame(); });
EM_JS(void, kvjs_addChainText, (const char* text, const char* family, double left, double top,
                                double width, double height, double size, double baseline,
                                int bold, int centred), {
    KvelmorPage.addChainText({text: UTF8ToString(text), fontFamily: UTF8ToString(family),
                              left: left, top: top, width: width, height: height, size: size,
                              baseline: baseline, bold: !!bold, centred: !!centred});
});
EM_JS(void, kvjs_saveChainPicture, (const char* name, const unsigned char* rgba, int width,
                                    int height, int scale), {
    KvelmorPage.saveChainPicture(UTF8ToString(name), HEAPU8.slice(rgba, rgba + width * height * 4),
                                 width, height, scale);
});
// clang-format on

namespace kvelmor::js {

void createExplorer(int choices)
{
    kvjs_createExplorer(choices);
}

void showExplorer(bool shown)
{
    kvjs_showExplorer(shown);
}

void setExplorerText(const std::string& id, const std::string& caption,
                     const std::string& description)
{
    kvjs_setExplorerText(id.c_str(), caption.c_str(), description.c_str());
}

void setExplorerHint(const std::string& hint)
{
    kvjs_setExplorerHint(hint.c_str());
}

void setExplorerEnabled(bool enabled)
{
    kvjs_setExplorerEnabled(enabled);
}

void showExplorerPicture(const std::string& id, const std::uint8_t* rgba, int width, int height,
                         double ratio)
{
    kvjs_showExplorerPicture(id.c_str(), rgba, width, height, ratio);
}

void showExplorerScale(const PictureText& label)
{
    kvjs_showExplorerScale(label.text.c_str(), label.box.left, label.box.top, label.box.width,
                           label.box.height, label.pixelSize);
}

void setExplorerState(int step, const std::string& heightText, int choice, int sweep)
{
    kvjs_setExplorerState(step, heightText.c_str(), choice, sweep);
}

void setExplorerReadout(const std::string& id, const std::string& value)
{
    kvjs_setExplorerReadout(id.c_str(), value.c_str());
}

void describeExplorerChain(const std::string& description)
{
    kvjs_describeExplorerChain(description.c_str());
}

void announceExplorerSoon(const std::string& text)
{
    kvjs_announceExplorerSoon(text.c_str());
}

void requestExplorerFrame()
{
    kvjs_requestExplorerFrame();
}

void saveChainPicture(const std::string& name, const std::vector<std::uint8_t>& rgba, int width,
                      int height, int scale, const std::vector<PictureText>& texts)
{
    const std::string family = cssFontFamily("Arial");
    for (const PictureText& t : texts) {
        kvjs_addChainText(t.text.c_str(), family.c_str(), t.box.left, t.box.top, t.box.width,
                          t.box.height, t.pixelSize, t.baseline, t.bold, t.centred);
    }
    kvjs_saveChainPicture(name.c_str(), rgba.data(), width, height, scale);
}

}  // namespace kvelmor::js
