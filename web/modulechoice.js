// Which build of the program this browser runs. The page holds two, the same program but for the
// arithmetic of the sums: the one inside this script, which computes them two numbers at a time
// with WebAssembly's SIMD, which every current browser runs; and, packed (zlib, in base64) in the
// element #kv-scalar-module ahead of this script, one that computes them a number at a time, for
// browsers that refuse SIMD (older iPads). Both compute the same bits. Where SIMD is accepted,
// Emscripten's loader starts the build inside this script as it always did, at no cost; elsewhere
// the other is unpacked (inflate.js) and started instead.
var KvelmorModules = (function () {
  "use strict";
  // (module (func (result v128) i32.const 0 i8x16.splat i8x16.popcnt)): valid only where
  // WebAssembly's SIMD is on.
  var SIMD_PROBE = [0, 97, 115, 109, 1, 0, 0, 0, 1, 5, 1, 96, 0, 1, 123, 3, 2, 1, 0, 10, 10, 1, 8,
                    0, 65, 0, 253, 15, 253, 98, 11];

  function acceptsSimd() {
    try {
      return WebAssembly.validate(new Uint8Array(SIMD_PROBE));
    } catch (refused) {
      return false;
    }
  }

  function bytesOf(base64) {
    var text = atob(base64);
    var bytes = new Uint8Array(text.length);
    for (var i = 0; i < text.length; i++) bytes[i] = text.charCodeAt(i);
    return bytes;
  }

  var state = {picked: acceptsSimd() ? "simd" : "scalar"};
  if (state.picked === "simd") return state;
  // A copy whose packed build is missing or damaged cannot start here: Emscripten's abort shows
  // the page's note on a damaged file.
  Module.instantiateWasm = function (imports, receive) {
    var bytes;
    try {
      bytes = KvelmorInflate(bytesOf(document.getElementById("kv-scalar-module").text.trim()));
    } catch (damaged) {
      abort(damaged);
    }
    WebAssembly.instantiate(bytes, imports).then(function (result) {
      receive(result.instance, result.module);
    }, function (reason) { abort(reason); });
    return {};  // the exports come later, through `receive`
  };
  return state;
})();
