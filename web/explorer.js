// The explorer's panel ("Zkoumat"): built here, hidden, between the window's area and the bar,
// and shown beside the window where the screen is wide or below it where it is tall (fit.js
// chooses, as for the bar), the window fitted whole into what is left. Its texts, pictures and
// readouts come from the C++ side (web/explorerpage.cpp, web/explorerview.cpp); its controls are
// in explorercontrols.js, its saved PNG in explorersaving.js.
(function () {
  "use strict";
  var kv = KvelmorShared;
  // The panel's share of what the bar leaves along the arrangement's axis: at least enough to
  // show a chain large, and at most so much that the window keeps a fair part of the screen.
  var LEAST_SHARE = 0.4;
  var MOST_SHARE = 0.6;
  // A panel below the window this wide and this much wider than tall sets its controls beside its
  // pictures, not under them.
  var ROW_WIDTH = 560;
  var ROW_SHAPE = 1.3;

  var panel = null;
  var ex = kv.explorer = {
    panel: null,
    parts: Object.create(null),  // id -> element, for the C++ side's texts
    choices: [],                 // the count's buttons, in order
    sized: "",                   // the pictures' sizes last told to the C++ side
  };

  function element(tag, className, id) {
    var e = document.createElement(tag);
    if (className) e.className = className;
    if (id) {
      e.id = id;
      ex.parts[id] = e;
    }
    return e;
  }
  ex.element = element;

  // Named by its caption (aria-label), not by text of its own: the pictures, the slider, the
  // buttons that show a sign.
  function named(e) {
    e.dataset.named = "true";
    return e;
  }

  function button(id, className) {
    var b = element("button", "kv-ex-button" + (className ? " " + className : ""), id);
    b.type = "button";
    return b;
  }
  ex.button = button;

  function readouts() {
    var box = element("div", "kv-ex-readouts");
    ["height", "difference", "turns", "squared", "share", "continuous"].forEach(function (name) {
      var line = element("div", "kv-ex-readout");
      var label = element("label", "kv-ex-readout-name", "kv-ex-r-" + name + "-name");
      var value = element("output", "kv-ex-readout-value", "kv-ex-r-" + name);
      label.htmlFor = value.id;
      line.appendChild(label);
      line.appendChild(document.createTextNode(" "));
      line.appendChild(value);
      box.appendChild(line);
    });
    return box;
  }

  KvelmorPage.createExplorer = function (choices) {
    panel = ex.panel = element("section", "kv-panel", "kv-panel");
    panel.hidden = true;
    panel.setAttribute("role", "region");
    var head = element("div", "kv-ex-head");
    var title = element("h2", "kv-ex-title", "kv-ex-title");
    var close = named(button("kv-ex-close", "kv-ex-close"));
    close.textContent = "\u00d7";
    head.appendChild(title);
    head.appendChild(close);
    var hint = element("p", "kv-ex-hint", "kv-ex-hint");
    hint.hidden = true;

    var pictures = element("div", "kv-ex-pictures");
    var chainBox = element("div", "kv-ex-chain-box");
    var chain = named(element("canvas", "kv-ex-canvas", "kv-ex-chain"));
    chain.setAttribute("role", "img");
    var scale = element("span", "kv-ex-scale", "kv-ex-scale-text");
    chainBox.appendChild(chain);
    chainBox.appendChild(scale);
    var patternBox = element("div", "kv-ex-pattern-box");
    var pattern = named(element("canvas", "kv-ex-canvas", "kv-ex-pattern"));
    pattern.setAttribute("role", "img");
    patternBox.appendChild(pattern);
    var heightBox = element("div", "kv-ex-height-box");
    heightBox.appendChild(named(button("kv-ex-up", "kv-ex-step kv-ex-step-up")));
    var slider = named(element("div", "kv-ex-slider", "kv-ex-height"));
    slider.appendChild(element("div", "kv-ex-thumb"));
    heightBox.appendChild(slider);
    heightBox.appendChild(named(button("kv-ex-down", "kv-ex-step kv-ex-step-down")));
    pictures.appendChild(chainBox);
    pictures.appendChild(patternBox);
    pictures.appendChild(heightBox);

    var controls = element("div", "kv-ex-controls");
    var counts = element("div", "kv-ex-counts", "kv-ex-counts");
    counts.setAttribute("role", "radiogroup");
    var countRow = element("div", "kv-ex-count-row");
    for (var i = 0; i < choices; i++) {
      var choice = button("kv-ex-n" + i, "kv-ex-count");
      choice.setAttribute("role", "radio");
      choice.dataset.choice = String(i);
      ex.choices.push(choice);
      countRow.appendChild(choice);
    }
    var paths = element("output", "kv-ex-paths", "kv-ex-paths");
    counts.appendChild(countRow);
    counts.appendChild(paths);
    var actions = element("div", "kv-ex-actions");
    actions.appendChild(button("kv-ex-sweep-paths"));
    actions.appendChild(button("kv-ex-sweep-height"));
    var saving = element("div", "kv-ex-actions");
    ["kv-ex-save-png", "kv-ex-save-svg", "kv-ex-save-csv"].forEach(function (id) {
      saving.appendChild(button(id));
    });
    var scaleChoice = named(element("select", "kv-ex-choice", "kv-ex-scale"));
    [1, 2].forEach(function (n) {
      var option = element("option", "", "kv-ex-scale-" + n);
      option.value = String(n);
      scaleChoice.appendChild(option);
    });
    saving.insertBefore(scaleChoice, saving.children[1]);
    controls.appendChild(counts);
    controls.appendChild(actions);
    controls.appendChild(readouts());
    controls.appendChild(saving);

    var body = element("div", "kv-ex-body");
    body.appendChild(pictures);
    body.appendChild(controls);
    panel.appendChild(head);
    panel.appendChild(hint);
    panel.appendChild(body);
    document.body.insertBefore(panel, document.getElementById("kv-bar"));
    KvelmorPage.guard(panel);
    kv.arranging.push(sizePanel);
    kv.watchExplorer();
  };

  // The panel's length along the arrangement's axis: what the window leaves when it has the
  // screen's whole height (beside) or width (below), kept within its shares of what the bar
  // leaves; a panel below the window and wide enough sets its controls beside its pictures.
  function sizePanel(beside) {
    if (!panel) return;
    if (panel.hidden) {
      panel.style.flexBasis = "";
      return;
    }
    var bar = document.getElementById("kv-bar").getBoundingClientRect();
    var room = document.documentElement;
    var free = beside ? room.clientWidth - bar.width : room.clientHeight - bar.height;
    var windowLength = beside ? room.clientHeight * kv.windowWidth / kv.windowHeight
                              : room.clientWidth * kv.windowHeight / kv.windowWidth;
    var length = Math.min(Math.max(free - windowLength, free * LEAST_SHARE), free * MOST_SHARE);
    panel.style.flexBasis = Math.floor(length) + "px";
    panel.classList.toggle("kv-ex-row", !beside && room.clientWidth >= ROW_WIDTH &&
                                        room.clientWidth > length * ROW_SHAPE);
  }

  KvelmorPage.showExplorer = function (shown) {
    if (panel.hidden === !shown) return;
    panel.hidden = !shown;
    kv.fit();
    ex.measure();
    if (shown) document.getElementById("kv-ex-close").focus({preventScroll: true});
    else document.getElementById("kv-explore").focus({preventScroll: true});
  };

  KvelmorPage.setExplorerText = function (id, caption, description) {
    var e = kv.named(ex.parts, id, "element");
    if (e.kvSays === caption + "\n" + description) return;  // as it is: the page is not touched
    e.kvSays = caption + "\n" + description;
    if (e.dataset.named || e.getAttribute("role") === "radiogroup" || e.tagName === "SECTION") {
      e.setAttribute("aria-label", caption);
      e.title = caption;
    } else {
      e.textContent = caption;
    }
    if (description) {
      e.setAttribute("aria-description", description);
      if (!e.dataset.named) e.title = description;
    } else {
      e.removeAttribute("aria-description");
    }
  };

  KvelmorPage.setExplorerHint = function (hint) {
    var e = document.getElementById("kv-ex-hint");
    e.textContent = hint;
    e.hidden = !hint;
  };

  KvelmorPage.showExplorerPicture = function (id, heap, address, width, height, ratio) {
    var canvas = document.getElementById(id);
    if (canvas.width !== width || canvas.height !== height) {
      canvas.width = width;
      canvas.height = height;
    }
    canvas.style.width = width / ratio + "px";
    canvas.style.height = height / ratio + "px";
    if (!width || !height) return;
    var pixels = new Uint8ClampedArray(heap.buffer, address, width * height * 4);
    canvas.getContext("2d").putImageData(new ImageData(pixels, width, height), 0, 0);
  };

  KvelmorPage.showExplorerScale = function (text, left, top, width, height, size) {
    var e = document.getElementById("kv-ex-scale-text");
    e.textContent = text;
    e.hidden = !text;
    e.style.left = left + "px";
    e.style.top = top + "px";
    e.style.width = width + "px";
    e.style.height = height + "px";
    e.style.fontSize = size + "px";
    e.style.lineHeight = height + "px";
    // A panel narrower than the number's 12 pixels need (a phone held sideways) gets the number
    // smaller rather than cut off at the picture's edge.
    if (text && e.scrollWidth > e.clientWidth && e.clientWidth > 0)
      e.style.fontSize = size * e.clientWidth / e.scrollWidth * 0.98 + "px";
  };

  KvelmorPage.setExplorerReadout = function (id, value) {
    kv.named(ex.parts, id, "readout").textContent = value;
  };

  KvelmorPage.describeExplorerChain = function (description) {
    kv.describe(document.getElementById("kv-ex-chain"), description);
  };

  // The last text of a change, said once the panel has stood still this long.
  var SETTLE = 400;
  var sayTimer = null;
  KvelmorPage.announceExplorerSoon = function (text) {
    clearTimeout(sayTimer);
    sayTimer = setTimeout(function () { KvelmorPage.announce(text); }, SETTLE);
  };

  // Whether the panel is open, and its chosen step and count as its controls show them.
  KvelmorPage.explorerShown = function () { return !!panel && !panel.hidden; };
})();
