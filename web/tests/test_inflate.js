// The page's inflate (web/inflate.js) against node's zlib: every kind of deflate block, data of
// every kind and size, the packed build itself when its file is given; and a damaged or cut
// stream refused, never unpacked wrong.
//
//     node web/tests/test_inflate.js [build-web/web/scalar-module.txt]
"use strict";
const assert = require("assert");
const fs = require("fs");
const path = require("path");
const zlib = require("zlib");
const inflate = require(path.join(__dirname, "..", "inflate.js"));

// A repeatable stream of pseudo-random bytes.
function randomBytes(size, seed) {
  const bytes = Buffer.alloc(size);
  let state = seed >>> 0 || 1;
  for (let i = 0; i < size; i++) {
    state ^= state << 13;
    state ^= state >>> 17;
    state ^= state << 5;
    bytes[i] = state & 255;
  }
  return bytes;
}

const inputs = {
  "empty": Buffer.alloc(0),
  "one byte": Buffer.from([7]),
  "text": Buffer.from("sum of 2003 arrows ".repeat(500)),
  "random, more than a stored block holds": randomBytes(70000, 26),
  "runs and matches far back": Buffer.concat([randomBytes(40000, 3), Buffer.alloc(5000, 1),
                                             randomBytes(40000, 3)]),
  "few symbols": Buffer.from(randomBytes(100000, 9).map((b) => b & 3)),
};
// Stored blocks (level 0), fixed and dynamic codes, and the strategies that shape them.
const options = [
  {level: 0}, {level: 1}, {level: 9}, {level: 6, strategy: zlib.constants.Z_FIXED},
  {level: 6, strategy: zlib.constants.Z_HUFFMAN_ONLY}, {level: 6, strategy: zlib.constants.Z_RLE},
];

let checked = 0;
for (const [name, input] of Object.entries(inputs)) {
  for (const option of options) {
    const packed = zlib.deflateSync(input, option);
    const unpacked = inflate(new Uint8Array(packed));
    assert.ok(Buffer.from(unpacked).equals(input), name + " " + JSON.stringify(option));
    checked++;
  }
}

// A changed byte anywhere past the header is refused, unless it changed only bits that deflate
// leaves unused (the padding before a stored block); a stream cut short is refused.
const original = inputs["runs and matches far back"];
const packed = new Uint8Array(zlib.deflateSync(original));
let refused = 0;
for (let at = 2; at < packed.length; at += 97) {
  const damaged = packed.slice();
  damaged[at] ^= 0x10;
  let unpacked = null;
  try {
    unpacked = inflate(damaged);
  } catch (error) {
    assert.match(error.message, /damaged/);
    refused++;
    continue;
  }
  assert.ok(Buffer.from(unpacked).equals(original), "byte " + at + " changed: unpacked wrong");
}
assert.ok(refused > packed.length / 97 - 3, refused + " damaged streams refused");
for (const length of [0, 1, 2, 100, packed.length - 4, packed.length - 1]) {
  assert.throws(() => inflate(packed.subarray(0, length)), /damaged/, "cut at " + length);
  refused++;
}

// The packed build, as the page holds it: base64 of a zlib stream of a WebAssembly module.
if (process.argv[2]) {
  const module = inflate(new Uint8Array(Buffer.from(fs.readFileSync(process.argv[2], "latin1"),
                                                    "base64")));
  assert.ok(WebAssembly.validate(module), "the packed build is not WebAssembly");
  console.log("the packed build: " + module.length + " bytes of WebAssembly");
}
console.log(checked + " streams unpacked as node's zlib packed them, " + refused +
            " damaged ones refused");
