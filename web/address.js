// The page's address and the setting in its query. The C++ side reads the query at load
// (web/pagequery.cpp) and gives the query of the setting after every choice; the address shown
// follows it, so that copying the address shares the setting as "Odkaz" does. Works for a page
// opened from a file as for one on a web server.
(function () {
  "use strict";
  // Browsers limit how often a page may change its address: it follows the choices at most this
  // often (ms), the last one always.
  var FOLLOW_EVERY = 250;

  var query = "";
  var shownAt = -Infinity;
  var pending = null;

  function show() {
    pending = null;
    shownAt = performance.now();
    try {
      history.replaceState(history.state, "", "?" + query + location.hash);
    } catch (refused) {
      // a browser that keeps this address as it is: "Odkaz" still gives the setting
    }
  }

  KvelmorPage.addressQuery = function () { return location.search.replace(/^\?/, ""); };

  KvelmorPage.setAddress = function (text) {
    query = text;
    if (pending !== null) return;
    var wait = shownAt + FOLLOW_EVERY - performance.now();
    if (wait <= 0) show();
    else pending = setTimeout(show, wait);
  };

  // The page's own address with the setting as it now is.
  KvelmorPage.pageLink = function () {
    return location.href.replace(/[?#].*$/, "") + (query ? "?" + query : "");
  };
})();
