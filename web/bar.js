// The bar below the window: part of the page, not of the window, which keeps every control, key
// and pixel of its own. Full screen and the link are the page's to do; the saving buttons and the
// language switch ask the C++ side (web/main.cpp), which also gives every text. The window is fitted into the space the
// bar leaves above it (fit.js fits it to #kv-area, which the bar shrinks).
//
// From the keyboard, F6 goes from the window to the bar and back (Shift+F6 the same way round),
// as browsers go from pane to pane; the window's own Tab cycle stays as it is, and Tab in the bar
// goes from button to button. While a run lasts the bar takes no input, as the window, and says
// so: its buttons show and announce themselves disabled, and a line in it says why.
(function () {
  "use strict";
  var kv = KvelmorShared;
  var SAID_FOR = 4000;  // ms a short confirmation stays

  var bar = null;
  var row = null;       // the buttons
  var status = null;    // the confirmations, read out by screen readers
  var note = null;      // the note under the window
  var field = null;     // the link, when it could not be copied by itself
  var texts = {};
  var saidTimer = null;
  var lastInWindow = null;  // where F6 comes back to in the window, and in the bar
  var lastInBar = null;

  function blocked() { return KvelmorPage.isRunning() || KvelmorPage.hasEnded(); }

  function say(text) {
    status.textContent = text;
    clearTimeout(saidTimer);
    saidTimer = setTimeout(function () { status.textContent = ""; }, SAID_FOR);
  }

  // -- during a run ----------------------------------------------------------------------------

  // A button's or the choice's state as the program sets it, and as it shows: disabled, and
  // saying why, while a run lasts; as the program set it otherwise.
  function showState(control) {
    var running = KvelmorPage.isRunning();
    var enabled = control.dataset.enabled !== "false";
    var says = running ? kv.texts.running : control.dataset.says;
    control.setAttribute("aria-disabled", running || !enabled ? "true" : "false");
    if (control.tagName === "SELECT") {  // named by its label; says why only during a run
      control.title = running ? says : control.getAttribute("aria-label") || "";
      if (running) control.setAttribute("aria-description", says);
      else control.removeAttribute("aria-description");
    } else if (says) {
      control.setAttribute("aria-description", says);
      control.title = says;
    } else {
      control.removeAttribute("aria-description");
      control.removeAttribute("title");
    }
  }

  function showRunning(running) {
    bar.classList.toggle("kv-bar-busy", running);
    row.querySelectorAll(".kv-bar-button, .kv-bar-choice").forEach(showState);
    clearTimeout(saidTimer);
    status.textContent = running ? kv.texts.running : "";
  }

  function element(tag, className) {
    var e = document.createElement(tag);
    e.className = className;
    return e;
  }

  // -- full screen -----------------------------------------------------------------------------

  function fullScreenElement() {
    return document.fullscreenElement || document.webkitFullscreenElement || null;
  }
  function canGoFullScreen() {
    return !!(document.fullscreenEnabled || document.webkitFullscreenEnabled);
  }
  // The whole page, window and bar, fills the screen; Esc or the button again leaves it.
  function toggleFullScreen() {
    var page = document.documentElement;
    var done = fullScreenElement()
      ? (document.exitFullscreen || document.webkitExitFullscreen).call(document)
      : (page.requestFullscreen || page.webkitRequestFullscreen).call(page);
    if (done && done.catch) done.catch(function () {});  // refused: the page stays as it was
  }
  function showFullScreen() {
    var button = document.getElementById("kv-full-screen");
    if (button) button.setAttribute("aria-pressed", fullScreenElement() ? "true" : "false");
  }

  // -- the link --------------------------------------------------------------------------------

  // Through the clipboard where the browser allows it; else as a selection copied the older way,
  // which works from a file too; else the link stands selected in a field, to be copied by hand.
  function copyLink() {
    var link = KvelmorPage.pageLink();
    var copied = function () {
      if (field) field.hidden = true;
      say(texts.linkCopied);
    };
    var byHand = function () {
      if (copyBySelection(link)) {
        copied();
        return;
      }
      if (!field) {
        field = element("input", "kv-link-field");
        field.readOnly = true;
        field.setAttribute("aria-label", texts.linkFieldName);
        row.insertBefore(field, status);
      }
      field.hidden = false;
      field.value = link;
      field.focus({preventScroll: true});
      field.select();
      say(texts.linkNotCopied);
    };
    if (navigator.clipboard && navigator.clipboard.writeText && window.isSecureContext)
      navigator.clipboard.writeText(link).then(copied, byHand);
    else
      byHand();
  }

  function copyBySelection(text) {
    var focused = document.activeElement;
    var area = element("textarea", "kv-copy");
    area.value = text;
    area.readOnly = true;
    bar.appendChild(area);
    area.select();
    var copied = false;
    try {
      copied = document.execCommand("copy");
    } catch (refused) {
      copied = false;
    }
    area.remove();
    if (focused && focused.focus) focused.focus({preventScroll: true});
    return copied;
  }

  // -- buttons ---------------------------------------------------------------------------------

  function pictureScale() { return Number(document.getElementById("kv-picture-scale").value); }

  var actions = {
    "kv-full-screen": toggleFullScreen,
    "kv-explore": function () { Module.ccall("kv_exploreOpen", null, [], []); },
    "kv-save-picture": function () {
      Module.ccall("kv_savePicture", null, ["number"], [pictureScale()]);
    },
    "kv-save-data": function () { Module.ccall("kv_saveData", null, [], []); },
    "kv-save-plot": function () { Module.ccall("kv_savePlot", null, [], []); },
    "kv-link": copyLink,
    "kv-language": function () { Module.ccall("kv_switchLanguage", null, [], []); }
  };

  // F6 and Shift+F6: from the window (or from nowhere) to the bar, from the bar to the window, to
  // where the focus last was in each.
  function onF6(event) {
    if (event.key !== "F6" || event.ctrlKey || event.altKey || event.metaKey) return;
    if (blocked() || bar.hidden) return;
    event.preventDefault();
    var target;
    if (bar.contains(document.activeElement)) {
      target = lastInWindow && lastInWindow.tabIndex > 0 && lastInWindow.offsetParent !== null
        ? lastInWindow : document.getElementById("cmdStart");
    } else {
      target = lastInBar && bar.contains(lastInBar) && lastInBar.offsetParent !== null
        ? lastInBar : row.querySelector("button:not([hidden]), select");
    }
    if (target) target.focus({preventScroll: true});
  }

  function onFocus(event) {
    var window_ = KvelmorPage.windowElement();
    if (window_ && window_.contains(event.target)) lastInWindow = event.target;
    else if (bar.contains(event.target)) lastInBar = event.target;
  }

  KvelmorPage.createBar = function () {
    bar = document.getElementById("kv-bar");
    bar.setAttribute("role", "group");
    note = element("div", "kv-note");
    note.setAttribute("role", "status");
    note.hidden = true;
    var noteText = element("p", "kv-note-text");
    noteText.id = "kv-note";
    var close = element("button", "kv-note-close");
    close.type = "button";
    close.textContent = "×";
    close.addEventListener("click", function () {
      note.hidden = true;
      if (lastInBar === close) lastInBar = null;
    });
    // Two lines of it at most; a tap or a click on it shows it whole, and again two lines.
    noteText.addEventListener("click", function () {
      if (!blocked()) noteText.classList.toggle("kv-note-whole");
    });
    note.appendChild(noteText);
    note.appendChild(close);
    row = element("div", "kv-bar-row");
    status = element("span", "kv-status");
    status.setAttribute("role", "status");
    row.appendChild(status);
    bar.appendChild(note);
    bar.appendChild(row);
    bar.hidden = false;
    KvelmorPage.guard(bar);
    kv.onRunning.push(showRunning);
    document.addEventListener("focusin", onFocus);
    window.addEventListener("keydown", onF6);
    document.addEventListener("fullscreenchange", showFullScreen);
    document.addEventListener("webkitfullscreenchange", showFullScreen);
  };

  // The bar's own texts, in place of the ones it had: its name, the confirmations, the link
  // field's name and the note's close button. What it said last is gone with the old language.
  KvelmorPage.setBarTexts = function (name, barTexts) {
    texts = barTexts;
    bar.setAttribute("aria-label", name);
    var close = note.querySelector(".kv-note-close");
    close.setAttribute("aria-label", texts.closeNote);
    close.title = texts.closeNote;
    if (field) field.setAttribute("aria-label", texts.linkFieldName);
    status.textContent = "";
  };

  // A button of the bar. A disabled one stays in the Tab order and says why it does nothing, to a
  // screen reader and, when pressed, in the bar.
  KvelmorPage.addBarButton = function (id) {
    var button = element("button", "kv-bar-button");
    button.type = "button";
    button.id = id;
    button.addEventListener("click", function () {
      if (blocked()) return;
      if (button.getAttribute("aria-disabled") === "true") say(button.getAttribute("aria-description"));
      else actions[id]();
    });
    if (id === "kv-full-screen") {
      button.hidden = !canGoFullScreen();
      button.setAttribute("aria-pressed", "false");
    }
    showState(button);
    row.insertBefore(button, status);
  };

  // A button's caption; one in another language than the page's says which (`language`, a code).
  KvelmorPage.setBarButtonText = function (id, caption, language) {
    var button = document.getElementById(id);
    var text = document.createElement("span");
    text.textContent = caption;
    if (language) text.lang = language;
    button.replaceChildren(text);
  };

  // A choice of the bar; its options' values are their places from 1 (the picture's scale).
  KvelmorPage.addBarChoice = function (id, captions, selected) {
    var choice = element("select", "kv-bar-choice");
    choice.id = id;
    captions.forEach(function (caption, i) {
      var option = document.createElement("option");
      option.value = String(i + 1);
      option.textContent = caption;
      choice.appendChild(option);
    });
    choice.selectedIndex = selected;
    showState(choice);
    row.insertBefore(choice, status);
  };

  KvelmorPage.setBarChoiceName = function (id, name) {
    var choice = document.getElementById(id);
    choice.setAttribute("aria-label", name);
    choice.title = name;
  };

  KvelmorPage.setBarButton = function (id, enabled, description) {
    var button = document.getElementById(id);
    button.dataset.enabled = enabled ? "true" : "false";
    button.dataset.says = description;
    showState(button);
  };

  // The note's text; `shown` shows it, else it stays shown or closed as it was.
  KvelmorPage.showNote = function (text, shown) {
    var noteText = note.querySelector(".kv-note-text");
    noteText.textContent = text;
    noteText.title = text;
    if (shown) note.hidden = false;
  };
})();
