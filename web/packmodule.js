// node packmodule.js SCALAR SIMD OUT
//
// SCALAR and SIMD are the page's program linked without and with WebAssembly's SIMD, each a
// script with its WebAssembly inside in base64. The page is the SIMD build's script, and runs the
// scalar build's WebAssembly with it where a browser refuses SIMD (modulechoice.js), so the two
// scripts must be the same but for the WebAssembly: checked here, the build stopping when they
// are not. OUT receives the scalar build's WebAssembly packed as a zlib stream (inflate.js
// unpacks it), in base64, for the page's element #kv-scalar-module.
"use strict";
const fs = require("fs");
const zlib = require("zlib");

const EMBEDDED = /data:application\/octet-stream;base64,([A-Za-z0-9+/=]+)/;

function parts(path) {
  const script = fs.readFileSync(path, "latin1");
  const found = EMBEDDED.exec(script);
  if (!found) throw new Error(path + " holds no WebAssembly in base64");
  return {rest: script.replace(EMBEDDED, ""), wasm: Buffer.from(found[1], "base64")};
}

const [scalarPath, simdPath, outPath] = process.argv.slice(2);
const scalar = parts(scalarPath);
const simd = parts(simdPath);
if (scalar.rest !== simd.rest) {
  console.error(scalarPath + " and " + simdPath + " differ beyond their WebAssembly: the scalar " +
                "build cannot run with the SIMD build's script");
  process.exit(1);
}
const packed = zlib.deflateSync(scalar.wasm, {level: 9}).toString("base64");
fs.writeFileSync(outPath, packed);
console.log("WebAssembly: " + simd.wasm.length + " bytes with SIMD, " + scalar.wasm.length +
            " without, packed in " + packed.length + " of base64");
