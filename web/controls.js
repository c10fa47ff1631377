// The window's controls as elements of the page: labels, buttons, frames with their options, and
// the hidden settings boxes, placed and lettered from the C++ side's layout table; their captions
// in either language; the settings boxes' texts and the scene labels' places.
(function () {
  "use strict";
  var kv = KvelmorShared;
  var groups = Object.create(null);       // frame name -> its option names, in table order
  kv.groups = groups;
  var labelBoxes = Object.create(null);   // label name -> its place, size and font, logical pixels
  var showCaption = Object.create(null);  // control name -> puts a new caption in its place
  kv.showCaption = showCaption;

  // A button's accessible name is its caption unless the window names it otherwise.
  function nameButton(element, caption, accessibleName) {
    if (accessibleName !== caption) element.setAttribute("aria-label", accessibleName);
    else element.removeAttribute("aria-label");
  }

  function makeLabel(c) {
    var e = document.createElement("div");
    e.className = "kv-label";
    e.textContent = c.caption;
    labelBoxes[c.name] = {left: c.left, top: c.top, width: c.width, height: c.height, text: c.caption,
                          fontFamily: c.fontFamily, fontSize: c.fontSize, bold: c.bold};
    showCaption[c.name] = function (caption) {
      e.textContent = caption;
      labelBoxes[c.name].text = caption;
    };
    return e;
  }

  function makeButton(c) {
    var e = document.createElement("button");
    e.type = "button";
    e.className = "kv-button";
    e.textContent = c.caption;
    e.tabIndex = c.tabIndex;
    nameButton(e, c.caption, c.accessibleName);
    showCaption[c.name] = function (caption, accessibleName) {
      e.textContent = caption;
      nameButton(e, caption, accessibleName);
    };
    e.addEventListener("click", function () {
      if (c.name === "cmdStart") kv.startRun();
      else if (c.name === "cmdKonec") kv.call("kv_end", [], []);
    });
    e.addEventListener("keydown", kv.onButtonKey);
    kv.tapPress(e, function () {
      e.focus({preventScroll: true});
      e.click();
    });
    kv.focusables[c.name] = e;
    return e;
  }

  function makeFrame(c) {
    var e = document.createElement("div");
    e.className = "kv-frame";
    e.setAttribute("role", "radiogroup");
    var border = document.createElement("div");
    border.className = "kv-frame-border";
    border.style.top = kv.u(Math.round(c.fontSize / 2));
    var caption = document.createElement("span");
    caption.className = "kv-frame-caption";
    caption.id = "kv-caption-" + c.name;
    caption.textContent = c.caption;
    showCaption[c.name] = function (text) { caption.textContent = text; };
    e.appendChild(border);
    e.appendChild(caption);
    e.setAttribute("aria-labelledby", caption.id);
    groups[c.name] = [];
    return e;
  }

  function makeOption(c) {
    var e = document.createElement("label");
    e.className = "kv-option";
    var input = document.createElement("input");
    input.type = "radio";
    input.name = c.container;
    input.id = c.name;
    input.tabIndex = -1;
    var caption = document.createElement("span");
    caption.textContent = c.caption;
    showCaption[c.name] = function (text) { caption.textContent = text; };
    e.appendChild(input);
    e.appendChild(caption);
    var group = kv.named(groups, c.container, "frame");
    input.addEventListener("click", function () {
      kv.call("kv_selectOption", ["string"], [c.name]);
    });
    input.addEventListener("keydown", function (event) { kv.onOptionKey(event, c.name, group); });
    kv.tapPress(e, function () {
      input.focus({preventScroll: true});
      input.click();
    });
    group.push(c.name);
    kv.focusables[c.name] = input;
    return e;
  }

  function makeBox(c) {
    var e = document.createElement("input");
    e.type = "hidden";
    e.id = c.name;
    e.value = c.caption;
    return e;
  }

  KvelmorPage.addControl = function (c) {
    var make = {label: makeLabel, button: makeButton, frame: makeFrame, option: makeOption,
                box: makeBox, scrollbar: kv.makeScrollBar}[c.kind];
    var e = make(c);
    if (c.kind !== "box") {
      if (c.kind !== "option") e.id = c.name;  // an option's id is its radio button's
      e.classList.add("kv-control");
      kv.place(e, c);
      kv.setFont(e, c);
      kv.describe(e, c.accessibleDescription);
      if (!c.shown) e.hidden = true;
    }
    e.dataset.name = c.name;
    kv.controls[c.name] = e;
    (c.container ? kv.named(kv.controls, c.container, "container") : kv.root).appendChild(e);
  };

  // A control's caption and what a screen reader says of it, in place of the ones it had.
  KvelmorPage.setControlTexts = function (name, caption, accessibleName, description) {
    kv.named(showCaption, name, "control with a caption")(caption, accessibleName);
    kv.describe(kv.named(kv.controls, name, "control"), description);
  };

  KvelmorPage.boxText = function (name) {
    return kv.named(kv.controls, name, "settings box").value;
  };
  KvelmorPage.setBoxText = function (name, text) {
    kv.named(kv.controls, name, "settings box").value = text;
  };

  KvelmorPage.setOptionSelected = function (name, selected, tabIndex) {
    var input = kv.named(kv.focusables, name, "option");
    input.checked = selected;
    input.tabIndex = tabIndex;
  };

  KvelmorPage.placeLabel = function (name, left, top) {
    var e = kv.named(kv.controls, name, "label");
    e.style.left = kv.u(left);
    e.style.top = kv.u(top);
    e.hidden = false;
    labelBoxes[name].left = left;
    labelBoxes[name].top = top;
  };

  // A label's place, size, text and font in logical pixels, as the window shows it.
  KvelmorPage.labelBox = function (name) { return kv.named(labelBoxes, name, "label"); };

  KvelmorPage.focusControl = function (name) {
    kv.named(kv.focusables, name, "control").focus({preventScroll: true});
  };
})();
