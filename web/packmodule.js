// node packmodule.js SCALAR SIMD OUT
//
// SCALAR and SIMD are the page's program linked without and with WebAssembly's SIMD, each a
// script with its WebAssembly inside in base64. The page runs the SIMD build's WebAssembly with
// the scalar build's script (modulechoice.js), so the two scripts must be the same but for the
// WebAssembly: checked here, the build stopping when they are not. OUT receives the SIMD build's
// WebAssembly gzip'd, in base64, for the page's element #kv-vector-module.
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
  console.error(scalarPath + " and " + simdPath + " differ beyond their WebAssembly: the SIMD " +
                "build cannot run with the scalar build's script");
  process.exit(1);
}
const packed = zlib.gzipSync(simd.wasm, {level: 9}).toString("base64");
fs.writeFileSync(outPath, packed);
console.log("WebAssembly: " + scalar.wasm.length + " bytes without SIMD, " + simd.wasm.length +
            " with, " + packed.length + " gzip'd in base64");
