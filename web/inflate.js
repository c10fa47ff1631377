// Unpacks a zlib stream (RFC 1950 around RFC 1951's deflate): the page's build for browsers
// without WebAssembly's SIMD comes packed so, and those browsers have no DecompressionStream
// either. Codes are decoded by table, a symbol a look-up; the checksum at the end refuses a
// damaged copy.
var KvelmorInflate = (function () {
  "use strict";
  var LENGTH_BASE = [3, 4, 5, 6, 7, 8, 9, 10, 11, 13, 15, 17, 19, 23, 27, 31, 35, 43, 51, 59, 67,
                     83, 99, 115, 131, 163, 195, 227, 258];
  var LENGTH_EXTRA = [0, 0, 0, 0, 0, 0, 0, 0, 1, 1, 1, 1, 2, 2, 2, 2, 3, 3, 3, 3, 4, 4, 4, 4, 5, 5,
                      5, 5, 0];
  var DISTANCE_BASE = [1, 2, 3, 4, 5, 7, 9, 13, 17, 25, 33, 49, 65, 97, 129, 193, 257, 385, 513,
                       769, 1025, 1537, 2049, 3073, 4097, 6145, 8193, 12289, 16385, 24577];
  var DISTANCE_EXTRA = [0, 0, 0, 0, 1, 1, 2, 2, 3, 3, 4, 4, 5, 5, 6, 6, 7, 7, 8, 8, 9, 9, 10, 10,
                        11, 11, 12, 12, 13, 13];
  // The order in which a dynamic block gives the lengths of the code-length code.
  var CODE_LENGTH_ORDER = [16, 17, 18, 0, 8, 7, 9, 6, 10, 5, 11, 4, 12, 3, 13, 2, 14, 1, 15];

  function fail(what) {
    throw new Error("Kvelmor: the packed build is damaged (" + what + ")");
  }

  // A canonical Huffman code from its symbols' code lengths, as a table looked up by the next
  // `bits` bits of the stream (first bit lowest): each entry holds a symbol and its code's length,
  // repeated for every value of the bits after the code; 0 where no code begins so.
  function code(lengths) {
    var longest = 0;
    var counts = new Uint16Array(16);
    for (var i = 0; i < lengths.length; i++) {
      counts[lengths[i]]++;
      if (lengths[i] > longest) longest = lengths[i];
    }
    counts[0] = 0;
    var next = new Uint16Array(16);
    for (var length = 1, first = 0; length < 16; length++) {
      first = (first + counts[length - 1]) << 1;
      next[length] = first;
    }
    var entries = new Int32Array(1 << longest);
    for (i = 0; i < lengths.length; i++) {
      length = lengths[i];
      if (!length) continue;
      var reversed = 0;
      for (var c = next[length]++, b = 0; b < length; b++, c >>= 1) reversed = (reversed << 1) | (c & 1);
      for (var r = reversed; r < entries.length; r += 1 << length) entries[r] = (i << 4) | length;
    }
    return {bits: longest, entries: entries};
  }

  function fixedCodes() {
    var lengths = new Uint8Array(288);
    for (var i = 0; i < 288; i++) lengths[i] = i < 144 ? 8 : i < 256 ? 9 : i < 280 ? 7 : 8;
    var distances = new Uint8Array(30);
    distances.fill(5);
    return [code(lengths), code(distances)];
  }

  function adler32(bytes, length) {
    var a = 1;
    var b = 0;
    for (var i = 0; i < length; i++) {
      a = (a + bytes[i]) % 65521;
      b = (b + a) % 65521;
    }
    return (b * 65536 + a) >>> 0;
  }

  // The bytes packed in `data`, a Uint8Array holding a zlib stream.
  return function inflate(data) {
    if ((data[0] & 15) !== 8 || ((data[0] << 8) | data[1]) % 31 !== 0 || (data[1] & 32)) {
      fail("header");
    }
    var at = 2;  // the next byte of `data` to read bits from; past its end, zeros are read
    var buffer = 0;  // bits read but not used, the first in the lowest bit
    var held = 0;  // how many
    var out = new Uint8Array(data.length * 4);
    var size = 0;

    function fill(n) {
      while (held < n) {
        buffer |= (at < data.length ? data[at] : 0) << held;
        at++;
        held += 8;
      }
    }

    function bits(n) {
      fill(n);
      var value = buffer & ((1 << n) - 1);
      buffer >>>= n;
      held -= n;
      return value;
    }

    // Where the next whole byte starts: the bits left in the byte being read are dropped, whole
    // bytes read ahead are given back.
    function toByte() {
      at -= held >> 3;
      buffer = 0;
      held = 0;
      if (at > data.length) fail("truncated");
    }

    function symbol(c) {
      fill(c.bits);
      var entry = c.entries[buffer & ((1 << c.bits) - 1)];
      if (!entry) fail("code");
      buffer >>>= entry & 15;
      held -= entry & 15;
      return entry >> 4;
    }

    function room(more) {
      if (size + more <= out.length) return;
      var larger = new Uint8Array(Math.max(out.length * 2, size + more));
      larger.set(out.subarray(0, size));
      out = larger;
    }

    function dynamicCodes() {
      var literals = bits(5) + 257;
      var distances = bits(5) + 1;
      var lengthCodes = bits(4) + 4;
      var lengths = new Uint8Array(19);
      for (var i = 0; i < lengthCodes; i++) lengths[CODE_LENGTH_ORDER[i]] = bits(3);
      var lengthCode = code(lengths);
      var all = new Uint8Array(literals + distances);
      for (i = 0; i < all.length;) {
        var s = symbol(lengthCode);
        if (s < 16) {
          all[i++] = s;
          continue;
        }
        var repeat = s === 16 ? 3 + bits(2) : s === 17 ? 3 + bits(3) : 11 + bits(7);
        if (s === 16 && i === 0) fail("lengths");
        var value = s === 16 ? all[i - 1] : 0;
        if (i + repeat > all.length) fail("lengths");
        while (repeat--) all[i++] = value;
      }
      return [code(all.subarray(0, literals)), code(all.subarray(literals))];
    }

    var last = 0;
    while (!last) {
      last = bits(1);
      var type = bits(2);
      if (type === 0) {  // stored
        toByte();
        if (at + 4 > data.length) fail("truncated");
        var length = data[at] | (data[at + 1] << 8);
        if ((length ^ 0xffff) !== (data[at + 2] | (data[at + 3] << 8))) fail("stored-length");
        at += 4;
        if (at + length > data.length) fail("truncated");
        room(length);
        out.set(data.subarray(at, at + length), size);
        size += length;
        at += length;
        continue;
      }
      if (type === 3) fail("block-type");
      var codes = type === 1 ? fixedCodes() : dynamicCodes();
      for (;;) {
        var s = symbol(codes[0]);
        if (s < 256) {
          room(1);
          out[size++] = s;
        } else if (s === 256) {
          break;
        } else {
          s -= 257;
          if (s >= 29) fail("length");
          var count = LENGTH_BASE[s] + bits(LENGTH_EXTRA[s]);
          var d = symbol(codes[1]);
          if (d >= 30) fail("distance");
          var distance = DISTANCE_BASE[d] + bits(DISTANCE_EXTRA[d]);
          if (distance > size) fail("distance");
          room(count);
          for (var n = 0; n < count; n++, size++) out[size] = out[size - distance];
        }
      }
    }
    toByte();
    if (at + 4 > data.length) fail("truncated");
    var expected = ((data[at] << 24) | (data[at + 1] << 16) | (data[at + 2] << 8) | data[at + 3]) >>> 0;
    if (adler32(out, size) !== expected) fail("checksum");
    return out.subarray(0, size);
  };
})();

if (typeof module !== "undefined") module.exports = KvelmorInflate;
