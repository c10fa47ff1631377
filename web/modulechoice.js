// Which build of the program this browser runs. The page holds two, the same program but for the
// arithmetic of the sums: the one inside this script, which works on one double at a time and
// runs in every browser, and, in the element #kv-vector-module ahead of this script, gzip'd and
// in base64, the one that works on two doubles an instruction with WebAssembly's SIMD, which
// every current browser runs. Both compute the same bits. A browser that accepts a SIMD
// instruction and can unzip runs the second; any other, or one in which the second does not
// unzip or start, the first, as the page always did.
var KvelmorModules = (function () {
  "use strict";
  // (module (func (result v128) i32.const 0 i8x16.splat i8x16.popcnt)): valid only where
  // WebAssembly's SIMD is on.
  var SIMD_PROBE = [0, 97, 115, 109, 1, 0, 0, 0, 1, 5, 1, 96, 0, 1, 123, 3, 2, 1, 0, 10, 10, 1, 8,
                    0, 65, 0, 253, 15, 253, 98, 11];
  var state = {picked: "", vectorOffered: false};

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

  // The gzip'd bytes unzipped; gzip's own check refuses a damaged copy.
  function unzip(bytes) {
    var stream = new Blob([bytes]).stream().pipeThrough(new DecompressionStream("gzip"));
    return new Response(stream).arrayBuffer();
  }

  // The build inside this script, as Emscripten's loader would have read it.
  function scalarBytes() {
    return getBinary(wasmBinaryFile);
  }

  var element = document.getElementById("kv-vector-module");
  state.vectorOffered = !!(element && element.text.trim()) &&
                        typeof DecompressionStream === "function" && acceptsSimd();
  if (!state.vectorOffered) {
    state.picked = "scalar";
    return state;
  }
  Module.instantiateWasm = function (imports, receive) {
    var startWith = function (picked) {
      return function (bytes) {
        return WebAssembly.instantiate(bytes, imports).then(function (result) {
          return {result: result, picked: picked};
        });
      };
    };
    unzip(bytesOf(element.text.trim()))
      .then(startWith("simd"))
      .catch(function () { return startWith("scalar")(scalarBytes()); })
      .then(function (started) {
        state.picked = started.picked;
        receive(started.result.instance, started.result.module);
      }, function (reason) { abort(reason); });
    return {};  // the exports come later, through `receive`
  };
  return state;
})();
