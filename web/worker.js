// The conversions, off the page's thread: the library (kegverter.js and its .wasm) converts each
// file; the outputs stay here until the page asks for one, or for all of them as a zip.
/* global importScripts, createKegverter, JSZip */
'use strict';

importScripts('kegverter.js', 'jszip.min.js');

const ready = createKegverter();
let outputs = [];  // of the last run: {path, bytes}, in the order of the batch's walk
let run = 0;       // the run in progress; a newer one stops it

const FORMATS = {beerxml2: 0, beerjson: 1, beerxml1: 2};

function post(message, transfer) {
  self.postMessage(message, transfer || []);
}

// A file's bytes; an item the browser would not hand over (file null) fails with its reason.
async function bytesOf(item) {
  if (!item.file) throw new Error(item.error || 'the browser did not give the file');
  return new Uint8Array(await item.file.arrayBuffer());
}

// The row's status, as the batch program's report words it.
function statusOf(result) {
  if (result.status !== 'written') return 'failed';
  return result.messages.length > 0 ? 'warned' : 'converted';
}

async function convertAll(id, items, format, combine) {
  const lib = await ready;
  run = id;
  // This run's outputs: a run that a newer one stopped while it read a file never adds to them.
  const mine = [];
  outputs = mine;
  const code = FORMATS[format];
  const planned = lib.plan(items.map((item) => item.path), code);
  // The batch's walk order: the order it converts the files and names their outputs in.
  const order = items.map((item, index) => index);
  order.sort((a, b) => planned[a].position - planned[b].position || a - b);
  post({type: 'order', id, order, planned});
  const combined = combine ? new lib.Combination(code) : null;
  let done = 0;
  for (const index of order) {
    if (run !== id) break;
    const item = items[index];
    const plan = planned[index];
    const row = {type: 'row', id, index, kind: plan.kind, records: 0, messages: [], output: ''};
    if (plan.output === '') {
      row.status = 'skipped';
      row.messages = plan.reason ? [{about: 'input', subject: item.path, text: plan.reason}] : [];
    } else {
      let bytes;
      try {
        bytes = await bytesOf(item);
      } catch (error) {
        bytes = null;
        row.status = 'failed';
        row.messages = [{about: 'input', subject: item.path, text: 'cannot open: ' + error.message}];
      }
      if (run !== id) break;
      let result = null;
      if (bytes !== null) {
        try {
          result = combined ? combined.add(item.path, bytes) : lib.convert(item.path, bytes, code);
        } catch (error) {
          // The library threw (the browser refused the memory a very large file needs): this file
          // fails, the rest go on.
          row.status = 'failed';
          row.messages = [{about: 'input', subject: item.path,
                           text: 'not converted: the browser could not finish it (most often, not enough memory)'}];
        }
      }
      if (result !== null) {
        row.kind = result.kind || plan.kind;
        row.records = result.records;
        row.messages = result.messages;
        row.status = statusOf(result);
        if (!combined && result.status === 'written') {
          mine.push({path: plan.output, bytes: result.output});
          row.output = plan.output;
          row.size = result.output.length;
        }
      }
    }
    post(row);
    done++;
    // Lets a newer run's message in between files.
    if (done % 25 === 0) await new Promise((resolve) => setTimeout(resolve, 0));
  }
  if (combined) {
    const result = combined.finish();
    combined.delete();
    if (run === id && result.status === 'written') {
      mine.push({path: combinedName(format), bytes: result.output});
    }
    post({type: 'combined', id, status: result.status, messages: result.messages,
          output: result.status === 'written' ? combinedName(format) : ''});
  }
  post({type: 'done', id});
}

function combinedName(format) {
  return format === 'beerjson' ? 'kegverter.json' : 'kegverter.xml';
}

async function preview(id, item) {
  const lib = await ready;
  const bytes = await bytesOf(item);
  const result = lib.convert(item.path, bytes, FORMATS.beerjson);
  const text = result.status === 'written' ? new TextDecoder().decode(result.output) : '';
  post({type: 'preview', id, kind: result.kind, json: text, messages: result.messages});
}

function output(id, path) {
  const found = outputs.find((entry) => entry.path === path);
  const bytes = found ? found.bytes.slice() : new Uint8Array(0);
  post({type: 'output', id, path, bytes}, [bytes.buffer]);
}

async function zip(id) {
  const archive = new JSZip();
  for (const entry of outputs) archive.file(entry.path, entry.bytes, {binary: true});
  const blob = await archive.generateAsync(
      {type: 'blob', compression: 'DEFLATE', compressionOptions: {level: 6}},
      (meta) => post({type: 'zipping', id, percent: meta.percent}));
  post({type: 'zip', id, blob});
}

self.onmessage = (event) => {
  const message = event.data;
  const fail = (error) => post({type: 'error', id: message.id, text: String(error && error.message || error)});
  switch (message.type) {
    case 'convert':
      convertAll(message.id, message.items, message.format, message.combine).catch(fail);
      break;
    case 'preview':
      preview(message.id, message.item).catch(fail);
      break;
    case 'output':
      output(message.id, message.path);
      break;
    case 'zip':
      zip(message.id).catch(fail);
      break;
    default:
      break;
  }
};
