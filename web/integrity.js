// The page's check of its own copy: whether this copy of the page is the one that was built, by
// the script's SHA-256 against the one written beside it when the page was made. A copy cut
// short or changed on the way (a USB stick) shows the page's note on a damaged file instead of
// starting, before any WebAssembly is compiled.
(function checkTheCopy() {
  var script = document.currentScript;
  var expected = script && script.getAttribute("data-kv-sha256");
  if (expected && sha256(new TextEncoder().encode(script.text)) !== expected) {
    if (window.kvelmorDamaged) window.kvelmorDamaged();
    throw new Error("Kvelmor: this copy of the page is damaged");
  }
  KvelmorPage.intact = true;

  function sha256(bytes) {
    var k = new Int32Array(64);
    var h = new Int32Array(8);
    for (var n = 2, found = 0; found < 64; n++) {  // from the first 64 primes' roots
      var prime = true;
      for (var d = 2; d * d <= n; d++) if (n % d === 0) { prime = false; break; }
      if (!prime) continue;
      if (found < 8) h[found] = (Math.pow(n, 1 / 2) % 1) * 4294967296 | 0;
      k[found++] = (Math.pow(n, 1 / 3) % 1) * 4294967296 | 0;
    }
    var length = bytes.length;
    var words = new Int32Array((((length + 8) >> 6) + 1) * 16);
    for (var i = 0; i < length; i++) words[i >> 2] |= bytes[i] << (24 - (i % 4) * 8);
    words[length >> 2] |= 0x80 << (24 - (length % 4) * 8);
    words[words.length - 1] = length * 8;
    words[words.length - 2] = Math.floor(length / 536870912);
    var w = new Int32Array(64);
    var r = function (x, n) { return (x >>> n) | (x << (32 - n)); };
    for (var b = 0; b < words.length; b += 16) {
      for (var t = 0; t < 64; t++) {
        w[t] = t < 16 ? words[b + t]
          : (r(w[t - 15], 7) ^ r(w[t - 15], 18) ^ (w[t - 15] >>> 3)) +
            (r(w[t - 2], 17) ^ r(w[t - 2], 19) ^ (w[t - 2] >>> 10)) + w[t - 7] + w[t - 16] | 0;
      }
      var a0 = h[0], a1 = h[1], a2 = h[2], a3 = h[3], a4 = h[4], a5 = h[5], a6 = h[6], a7 = h[7];
      for (t = 0; t < 64; t++) {
        var t1 = a7 + (r(a4, 6) ^ r(a4, 11) ^ r(a4, 25)) + ((a4 & a5) ^ (~a4 & a6)) + k[t] + w[t] | 0;
        var t2 = (r(a0, 2) ^ r(a0, 13) ^ r(a0, 22)) + ((a0 & a1) ^ (a0 & a2) ^ (a1 & a2)) | 0;
        a7 = a6; a6 = a5; a5 = a4; a4 = a3 + t1 | 0; a3 = a2; a2 = a1; a1 = a0; a0 = t1 + t2 | 0;
      }
      h[0] += a0; h[1] += a1; h[2] += a2; h[3] += a3; h[4] += a4; h[5] += a5; h[6] += a6; h[7] += a7;
    }
    return Array.from(h, function (v) { return ("00000000" + (v >>> 0).toString(16)).slice(-8); }).join("");
  }
})();
