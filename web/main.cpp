// The browser edition of Kvelmor: the same window, built from the same layout table, running the
// same experiment, on a web page. The page's JavaScript (page.js) only builds elements and
// forwards events; the handlers below decide what they do.
#include <emscripten.h>

#include <memory>
#include <string>

#include "layout/controls.h"
#include "layout/description.h"
#include "layout/settings.h"
#include "run/experiment.h"
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

void buildWindow()
{
    const Language cs = Language::Czech;
    js::createWindow(twipsToPixels(kClientWidthTwips), twipsToPixels(kClientHeightTwips),
                     cssColour(kBackColour), std::string(text(TextKey::WindowTitle, cs)),
                     std::string(text(TextKey::PictureName, cs)),
                     std::string(text(TextKey::PictureEmpty, cs)));
    for (const ControlRow& row : controlRows()) {
        const FontFace face = fontFace(row.font);
        js::addControl(std::string(row.name), kindName(row.kind), std::string(row.container),
                       std::string(text(row.caption, cs)), twipsToPixels(row.left),
                       twipsToPixels(row.top), twipsToPixels(row.width), twipsToPixels(row.height),
                       cssFontFamily(face.family), face.pixelSize, face.bold, row.shown,
                       row.tabIndex, std::string(text(accessibleName(row), cs)),
                       std::string(text(row.accessibleDescription, cs)));
        if (row.kind == ControlKind::ScrollBar) {
            js::setScrollRange(std::string(row.name), kScrollMinimum, kScrollMaximum,
                               kScrollSmallStep, kScrollLargeStep);
        }
    }
    js::finishWindow();
}

// The picture at the page's pixel size, which page.js keeps in step with the window's fit; every
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

// The bar below the window: full screen, the last run's files, and a link to the setting.
void buildBar(Page& p)
{
    js::createBar(std::string(kBarName), std::string(kLinkCopied), std::string(kLinkNotCopied),
                  std::string(kLinkFieldName), std::string(kCloseNoteText));
    js::addBarButton("kv-full-screen", std::string(kFullScreenText),
                     std::string(kFullScreenDescription));
    p.saving.addButtons();
    js::addBarButton("kv-link", std::string(kLinkText), std::string(kLinkDescription));
}

// The address shows the setting as it now is, so that copying it shares the setting.
void showSettingInAddress(Page& p)
{
    js::setAddress(
        addressQuery(addressSetting(p.settings.boxText(SettingsBox::nFi),
                                    p.settings.boxText(SettingsBox::nRozteč), p.scrollValue)));
}

void changeScroll(Page& p, int value)
{
    p.scrollValue = value;
    scrollChanged(p.settings, value);
}

// A setting given in the page's address, taken by the same actions as the user's clicks; what
// the address holds beyond that is named in a note under the window.
void takeSettingFromAddress(Page& p)
{
    const AddressReading reading = readAddressQuery(js::addressQuery());
    for (const std::string& option :
         {reading.setting.frequencyOption, reading.setting.distanceOption}) {
        if (!option.empty()) p.settings.selectOption(option);
    }
    if (reading.setting.scrollValue) {
        js::setScrollValue("HScroll1", *reading.setting.scrollValue);
        changeScroll(p, *reading.setting.scrollValue);
    }
    if (!reading.ignored.empty()) js::showNote(addressNote(reading.ignored));
}

}  // namespace

extern "C" {

// "Start": the whole run, inside this call. Its waits hand control to the browser, so the page
// stays alive; page.js handles no input while `running` is set, and this guard keeps a second
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
    runExperiment(*p.picture, p.host);  // page.js may call kv_refit during the run's waits
    js::setPictureDescription(runDescription(frequency, distance, Language::Czech));
    p.saving.runFinished(frequency, distance);
    p.running = false;
    js::setRunning(false);
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
    js::showEnded(std::string(kEndedText), std::string(kRestartText));
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

// The load step, as on the desktop: the window and its controls, then the defaults (or the
// setting the page's address gives), then the focus on "Start".
int main()
{
    Page& p = page();
    buildWindow();
    makePicture(p);
    buildBar(p);
    loadStep(p.settings);
    takeSettingFromAddress(p);
    showSettingInAddress(p);
    js::focusControl("cmdStart");
    return 0;
}
