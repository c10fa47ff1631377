// The browser edition of Kvelmor: the same window, built from the same layout table, running the
// same experiment, on a web page. The page's JavaScript (page.js) only builds elements and
// forwards events; the handlers below decide what they do.
#include <emscripten.h>

#include <memory>
#include <string>
#include <vector>

#include "layout/controls.h"
#include "layout/description.h"
#include "layout/settings.h"
#include "run/experiment.h"
#include "web/explorerpage.h"
#include "web/jsbindings.h"
#include "web/pagepicture.h"
#include "web/pagequery.h"
#include "web/pagerunhost.h"
#include "web/pagesaving.h"
#include "web/pagesettings.h"
#include "web/pagetexts.h"

using namespace kvelmor;

namespace {

// The picture covers the window's client area, all of a run that can be seen (its grey background
// reaches on to 800 x 650 pixels, beyond the window's edges); every pixel of it is drawn again at
// each re-fit, so it is not larger than what shows.
constexpr int kPictureWidth = twipsToPixels(kClientWidthTwips);
constexpr int kPictureHeight = twipsToPixels(kClientHeightTwips);

struct Page {
    PageSettings settings;
    PageRunHost host;
    std::unique_ptr<PagePicture> picture;
    PageSaving saving;
    int scrollValue = kScrollMinimum;  // where the scroll bar stands, for the page's address
    Language language = kDefaultLanguage;
    std::vector<std::string> ignoredInAddress;  // named in the note under the window
    std::string ranFrequency;  // the boxes' texts at the last finished run; empty before it
    std::string ranDistance;
    bool running = false;
    bool ended = false;
};

Page& page()
{
    static Page thePage;
    return thePage;
}

std::string kindName(ControlKind kind)
{
    switch (kind) {
    case ControlKind::Label:
        return "label";
    case ControlKind::Button:
        return "button";
    case ControlKind::ScrollBar:
        return "scrollbar";
    case ControlKind::Frame:
        return "frame";
    case ControlKind::Option:
        return "option";
    case ControlKind::SettingsBox:
        return "box";
    }
    return "";
}

std::string textIn(Language language, TextKey key)
{
    return std::string(text(key, language));
}

// The window's controls as the layout table has them, their texts in `language`.
void buildWindow(Language language)
{
    js::createWindow(twipsToPixels(kClientWidthTwips), twipsToPixels(kClientHeightTwips),
                     cssColour(kBackColour));
    for (const ControlRow& row : controlRows()) {
        const FontFace face = fontFace(row.font);
        js::addControl(std::string(row.name), kindName(row.kind), std::string(row.container),
                       textIn(language, row.caption), twipsToPixels(row.left),
                       twipsToPixels(row.top), twipsToPixels(row.width), twipsToPixels(row.height),
                       cssFontFamily(face.family), face.pixelSize, face.bold, row.shown,
                       row.tabIndex, textIn(language, accessibleName(row)),
                       textIn(language, row.accessibleDescription));
        if (row.kind == ControlKind::ScrollBar) {
            js::setScrollRange(std::string(row.name), kScrollMinimum, kScrollMaximum,
                               kScrollSmallStep, kScrollLargeStep);
        }
    }
    js::finishWindow();
}

// The picture at the page's pixel size, which fit.js keeps in step with the window's fit; every
// flush copies what the run drew since the last one onto the page's canvas.
void makePicture(Page& p)
{
    p.picture = std::make_unique<PagePicture>(
        kPictureWidth, kPictureHeight, js::pictureRatio(),
        [](const PixelPicture& picture) {
            js::createPicture(picture.width(), picture.height(), picture.ratio());
        },
        [](const PixelPicture& picture, const PixelPicture::Rect& r) {
            js::showPixels(picture.rgba(), picture.width(), picture.height(), r.x, r.y, r.width,
                           r.height);
        });
}

// The bar below the window: full screen, the last run's files, "Zkoumat" (the explorer's panel),
// a link to the setting, and the switch to the other language. Its texts come with showTexts().
void buildBar(Page& p)
{
    js::createBar();
    js::addBarButton("kv-full-screen");
    p.saving.addButtons();
    explorerPage().create();
    js::addBarButton("kv-link");
    js::addBarButton("kv-language");
}

// The picture's accessible name: before the first run what it is, after it what the run drew.
void showPictureTexts(const Page& p)
{
    if (p.ranFrequency.empty()) {
        js::setPictureTexts(textIn(p.language, TextKey::PictureName),
                            textIn(p.language, TextKey::PictureEmpty));
    } else {
        js::setPictureTexts(runDescription(p.ranFrequency, p.ranDistance, p.language), "");
    }
}

// Every text of the page in `p.language`, in place of what it showed: the document's, the
// window's, the picture's, the bar's and the note's. The window's settings, scroll value and
// picture stay as they are.
void showTexts(Page& p)
{
    const Language l = p.language;
    js::setPageTexts(std::string(languageCode(l)), textIn(l, TextKey::WindowTitle));
    for (const ControlRow& row : controlRows()) {
        if (row.kind == ControlKind::SettingsBox) continue;  // its text is the setting
        js::setControlTexts(std::string(row.name), textIn(l, row.caption),
                            textIn(l, accessibleName(row)), textIn(l, row.accessibleDescription));
    }
    showPictureTexts(p);
    js::setBarTexts(textIn(l, TextKey::PageBarName), textIn(l, TextKey::PageLinkCopied),
                    textIn(l, TextKey::PageLinkNotCopied), textIn(l, TextKey::PageLinkFieldName),
                    textIn(l, TextKey::PageCloseNote));
    js::setBarButtonText("kv-full-screen", textIn(l, TextKey::PageFullScreen), "");
    js::setBarButton("kv-full-screen", true, textIn(l, TextKey::PageFullScreenDescription));
    p.saving.showTexts(l);
    js::setBarButtonText("kv-link", textIn(l, TextKey::PageLink), "");
    js::setBarButton("kv-link", true, textIn(l, TextKey::PageLinkDescription));
    // The switch names the other language in that language.
    const Language other = l == Language::Czech ? Language::English : Language::Czech;
    js::setBarButtonText("kv-language", textIn(l, TextKey::PageOtherLanguage),
                         std::string(languageCode(other)));
    js::setBarButton("kv-language", true, textIn(l, TextKey::PageOtherLanguageDescription));
    const struct {
        const char* key;
        TextKey text;
    } pageTexts[] = {{"running", TextKey::PageRunning},
                     {"chooserClose", TextKey::PageChooserClose},
                     {"stepLess", TextKey::PageStepLess},
                     {"stepMore", TextKey::PageStepMore}};
    for (const auto& t : pageTexts) js::setPageText(t.key, textIn(l, t.text));
    if (!p.ignoredInAddress.empty()) js::showNote(addressNote(p.ignoredInAddress, l), false);
    explorerPage().showTexts(l);
}

// The address shows the setting as it now is, so that copying it shares the setting.
void showSettingInAddress(Page& p)
{
    js::setAddress(addressQuery(addressSetting(p.settings.boxText(SettingsBox::nFi),
                                               p.settings.boxText(SettingsBox::nRozteč),
                                               p.scrollValue, p.language)));
}

void changeScroll(Page& p, int value)
{
    p.scrollValue = value;
    scrollChanged(p.settings, value);
}

// A setting given in the page's address, taken by the same actions as the user's clicks; what
// the address holds beyond that is named in a note under the window.
void takeSettingFromAddress(Page& p, const AddressReading& reading)
{
    for (const std::string& option :
         {reading.setting.frequencyOption, reading.setting.distanceOption}) {
        if (!option.empty()) p.settings.selectOption(option);
    }
    if (reading.setting.scrollValue) {
        js::setScrollValue("HScroll1", *reading.setting.scrollValue);
        changeScroll(p, *reading.setting.scrollValue);
    }
    p.ignoredInAddress = reading.ignored;
    if (!reading.ignored.empty()) js::showNote(addressNote(reading.ignored, p.language), true);
}

}  // namespace

extern "C" {

// "Start": the whole run, inside this call. Its waits hand control to the browser, so the page
// stays alive; input.js lets no input through while `running` is set, and this guard keeps a second
// run from starting inside the first.
EMSCRIPTEN_KEEPALIVE void kv_start()
{
    Page& p = page();
    if (p.running || p.ended) return;
    p.running = true;
    js::setRunning(true);
    p.picture->beginRun();
    const std::string frequency = p.settings.boxText(SettingsBox::nFi);
    const std::string distance = p.settings.boxText(SettingsBox::nRozteč);
    p.host.begin();
    explorerPage().runStarting(frequency, distance);
    p.picture->holdBack(true);  // shown as the run hands the browser control, and at its end
    runExperiment(*p.picture, p.host);  // fit.js may call kv_refit during the run's waits
    p.picture->holdBack(false);
    p.picture->showHeldBack();
    explorerPage().runEnded(frequency, distance);
    p.ranFrequency = frequency;
    p.ranDistance = distance;
    showPictureTexts(p);
    p.saving.runFinished(frequency, distance);
    p.running = false;
    js::setRunning(false);
    js::announce(runSummary(frequency, distance, p.language));
}

// An option chosen by the user (click, or arrow keys within its frame).
EMSCRIPTEN_KEEPALIVE void kv_selectOption(const char* name)
{
    Page& p = page();
    if (p.running || p.ended) return;
    p.settings.selectOption(name);
    showSettingInAddress(p);
}

// The scroll bar's value changed: after an arrow, a key, a track click or the end of a drag.
EMSCRIPTEN_KEEPALIVE void kv_scrollChanged(int value)
{
    Page& p = page();
    if (p.running || p.ended) return;
    changeScroll(p, value);
    showSettingInAddress(p);
}

// "Konec": a page cannot close its tab, so the program ends for good and the page says so.
EMSCRIPTEN_KEEPALIVE void kv_end()
{
    Page& p = page();
    if (p.running || p.ended) return;
    p.ended = true;
    explorerPage().programEnded();
    js::showEnded(textIn(p.language, TextKey::PageEnded), textIn(p.language, TextKey::PageRestart));
}

// The bar's switch: every text in the other language at once, nothing else changed; the address
// keeps the language, so that a link opens the page in it.
EMSCRIPTEN_KEEPALIVE void kv_switchLanguage()
{
    Page& p = page();
    if (p.running || p.ended) return;
    p.language = p.language == Language::Czech ? Language::English : Language::Czech;
    showTexts(p);
    showSettingInAddress(p);
}

// The bar's saving buttons: the last finished run's picture at `scale` 1 or 2, its numbers and
// its plot, as kvelmor-export writes them.
EMSCRIPTEN_KEEPALIVE void kv_savePicture(int scale)
{
    Page& p = page();
    if (p.running || p.ended) return;
    p.saving.savePicture(p.picture->record(), scale);
}

EMSCRIPTEN_KEEPALIVE void kv_saveData()
{
    Page& p = page();
    if (p.running || p.ended) return;
    p.saving.saveData();
}

EMSCRIPTEN_KEEPALIVE void kv_savePlot()
{
    Page& p = page();
    if (p.running || p.ended) return;
    p.saving.savePlot();
}

// The window was fitted anew (resize, rotation, zoom, another screen): the picture is made again
// at the new pixel size from the run's record, also while a run waits between its steps.
EMSCRIPTEN_KEEPALIVE void kv_refit()
{
    Page& p = page();
    if (p.picture) p.picture->setRatio(js::pictureRatio());
}

}  // extern "C"

// The load step, as on the desktop: the window and its controls in the language the page's
// address asks for, then the defaults (or the setting the address gives), then the focus on
// "Start".
int main()
{
    Page& p = page();
    const AddressReading reading = readAddressQuery(js::addressQuery());
    p.language = reading.setting.language.value_or(kDefaultLanguage);
    buildWindow(p.language);
    makePicture(p);
    buildBar(p);
    p.host.setStepDone([](int j) { explorerPage().stepDone(j); });
    p.host.setBeforeYield([] { page().picture->showHeldBack(); });
    showTexts(p);
    loadStep(p.settings);
    takeSettingFromAddress(p, reading);
    showSettingInAddress(p);
    js::focusControl("cmdStart");
    return 0;
}
