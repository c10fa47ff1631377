// The page's side of Kvelmor in the browser: builds the elements the C++ side asks for, fits the
// window to the space the page gives it, and forwards the user's clicks, touches and keys to the
// C++ side. It decides nothing about the program: what a control does is the C++ side's
// (web/main.cpp), as are the layout, the texts and the picture's pixels.
//
// The build joins the page's scripts into the one page in this order:
//   page.js       this file: what the scripts share, the window, whether a run lasts, the end
//   integrity.js  the page's check of its own copy before it starts
//   fit.js        the window fitted to the space the page gives it, at the screen's pixel ratio
//   input.js      what input reaches the window during a run and after "Konec"; following a pointer
//   touch.js      touch areas: what a finger or a pen beside a control presses
//   keys.js       Tab round the window, arrow keys within a frame, Enter on a button
//   controls.js   labels, buttons, frames, options and settings boxes
//   scrollbar.js  the desktop's kind of scroll bar
//   picture.js    the run's drawing on the canvas
//   chooser.js    the large chooser a tap opens where the window's targets are too small
//   bar.js, address.js, saving.js: the bar below the window, the address, saving files.
//   explorer.js, explorercontrols.js, explorersaving.js: the explorer's panel ("Zkoumat"), its
//                 controls and its saved chain picture.
//   inflate.js, modulechoice.js: the build without SIMD, unpacked and run where SIMD is refused.

// What the C++ side calls (web/jsbindings.cpp); the page's other scripts add their parts to it.
var KvelmorPage = {
  ready: false,
  readyAt: 0,
  lastRunEndedAt: 0,
  runsStarted: 0,
  intact: false
};

// What the page's scripts share among themselves: the window's elements and state, and the
// helpers each of them lays controls out with.
var KvelmorShared = (function () {
  "use strict";
  var kv = {
    area: null,       // the space the page gives the window; it shrinks when a bar is added
    root: null,       // the window: the grey client area
    windowWidth: 0,   // the window's size in logical pixels
    windowHeight: 0,
    scale: 1,         // CSS pixels to a logical pixel: the window's fit
    controls: Object.create(null),    // name -> the element that stands for the control
    focusables: Object.create(null),  // name -> the element that takes the focus
    guarded: [],      // elements of the page that take no input while the window takes none
    texts: Object.create(null),  // the page's own texts by key, in the page's language
    onRunning: [],    // told whether a run lasts, each time a run starts or ends
    running: false,
    ended: false,
    runtimeReady: false
  };

  // Lengths of the window are in logical pixels times the fit, which the page keeps in the
  // custom property --kv-px of the window's area.
  kv.u = function (value) { return "calc(" + value + " * var(--kv-px, 1px))"; };

  kv.failUnknownName = function (what, name) {
    throw new Error("Kvelmor: the page has no " + what + " named \"" + name + "\"");
  };
  kv.named = function (table, name, what) {
    if (!(name in table)) kv.failUnknownName(what, name);
    return table[name];
  };

  kv.place = function (element, c) {
    element.style.left = kv.u(c.left);
    element.style.top = kv.u(c.top);
    element.style.width = kv.u(c.width);
    element.style.height = kv.u(c.height);
  };

  kv.setFont = function (element, c) {
    element.style.fontFamily = c.fontFamily;
    element.style.fontSize = kv.u(c.fontSize);
    element.style.fontWeight = c.bold ? "700" : "400";
  };

  kv.describe = function (element, description) {
    if (description) element.setAttribute("aria-description", description);
    else element.removeAttribute("aria-description");
  };

  return kv;
})();

(function () {
  "use strict";
  var kv = KvelmorShared;

  KvelmorPage.createWindow = function (width, height, back) {
    kv.windowWidth = width;
    kv.windowHeight = height;
    kv.area = document.getElementById("kv-area");
    var root = kv.root = document.getElementById("kvelmor");
    root.textContent = "";
    root.className = "kv-window";
    root.style.width = kv.u(width);
    root.style.height = kv.u(height);
    root.style.background = back;
    kv.addCanvas(root);
    kv.watchKeys(root);
    kv.watchSmallTargets(root);
    kv.watchTouches(root);
    kv.fit();
    kv.watchTheFit();
  };

  // The page's language, by its code, and the document's title.
  KvelmorPage.setPageTexts = function (languageCode, title) {
    document.documentElement.lang = languageCode;
    document.title = title;
  };

  KvelmorPage.setRunning = function (value) {
    kv.running = value;
    if (value) KvelmorPage.runsStarted++;
    else KvelmorPage.lastRunEndedAt = performance.now();
    kv.root.setAttribute("aria-busy", value ? "true" : "false");
    kv.onRunning.forEach(function (told) { told(value); });
  };

  KvelmorPage.setPageText = function (key, text) { kv.texts[key] = text; };

  // Said politely to screen readers: a live region outside the window, which a new paragraph
  // fills each time, so that the same words said twice are said twice.
  // It is there from the start: screen readers hear changes only of a region they already know.
  var spoken = document.createElement("div");
  spoken.id = "kv-spoken";
  spoken.className = "kv-spoken";
  spoken.setAttribute("role", "status");
  spoken.setAttribute("aria-live", "polite");
  document.body.appendChild(spoken);
  KvelmorPage.announce = function (text) {
    var said = document.createElement("p");
    said.textContent = text;
    spoken.replaceChildren(said);
  };

  // The program has ended: the window gives way to a message and a button that loads the page
  // anew, for tablets and phones, which have no F5 key.
  KvelmorPage.showEnded = function (text, restart) {
    kv.ended = true;
    kv.root.hidden = true;
    kv.root.inert = true;
    var box = document.createElement("div");
    box.className = "kv-ended";
    var message = document.createElement("p");
    message.id = "kv-ended";
    message.setAttribute("role", "status");
    message.textContent = text;
    var button = document.createElement("button");
    button.type = "button";
    button.id = "kv-restart";
    button.textContent = restart;
    button.addEventListener("click", function () { window.location.reload(); });
    box.appendChild(message);
    box.appendChild(button);
    kv.area.appendChild(box);
    kv.guarded.forEach(function (e) { e.hidden = true; });
    button.focus({preventScroll: true});
  };

  // `element` takes no input while a run lasts, as the window, and is gone after "Konec".
  KvelmorPage.guard = function (element) { kv.guarded.push(element); };
  KvelmorPage.windowElement = function () { return kv.root; };
  KvelmorPage.failUnknownName = kv.failUnknownName;
  KvelmorPage.isRunning = function () { return kv.running; };
  KvelmorPage.hasEnded = function () { return kv.ended; };
  KvelmorPage.runtimeStarted = function () { kv.runtimeReady = true; };
})();

var Module = typeof Module !== "undefined" ? Module : {};
Module.postRun = (Module.postRun || []).concat([function () {
  KvelmorPage.runtimeStarted();
  KvelmorPage.readyAt = performance.now();  // milliseconds since the navigation started
  KvelmorPage.ready = true;
}]);
Module.printErr = function (text) { console.error(text); };
// The WebAssembly did not compile or start: the file is damaged.
Module.onAbort = function () { if (window.kvelmorDamaged) window.kvelmorDamaged(); };
