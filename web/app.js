// The page: takes the files (dropped or picked), hands them to the worker, shows one row per file
// as it converts, and offers each output, all of them as a zip, and a preview of each file.
/* global Views */
'use strict';

(() => {
  const $ = (id) => document.getElementById(id);
  const worker = new Worker('worker.js');

  // Plain words for the kinds the library names by label.
  const KINDS = {
    rec: 'Recipe', msh: 'Mash schedule', wtr: 'Water profile', brw: 'Brew session',
    'hops.dat': 'Hop list', 'malt.dat': 'Fermentable list', 'yeast.dat': 'Yeast list',
    'styles.dat': 'Style list', 'water.dat': 'Water profile list', 'extra.dat': 'Other ingredients list',
  };
  const STATUS = {converted: 'Converted', warned: 'Converted, with warnings', failed: 'Failed',
                  skipped: 'Skipped'};

  let items = [];     // {path, file}: what was dropped or picked
  let rows = [];      // per item: its row's elements and result
  let runId = 0;
  let combinedOutput = '';  // the one document's name, when every record goes into one
  let counts = null;
  let total = 0;
  let pending = new Map();  // request id -> callback
  let requestId = 0;

  const format = () => document.querySelector('input[name="format"]:checked').value;
  const units = () => document.querySelector('input[name="units"]:checked').value;

  // The reader's units, kept for the next visit.
  try {
    const saved = localStorage.getItem('kegverter-units');
    if (saved) document.querySelector(`input[name="units"][value="${saved}"]`).checked = true;
  } catch (error) { /* storage off: US by default */ }

  function request(message, transfer) {
    const id = ++requestId;
    return new Promise((resolve, reject) => {
      pending.set(id, {resolve, reject});
      worker.postMessage(Object.assign({id}, message), transfer || []);
    });
  }

  worker.onmessage = (event) => {
    const message = event.data;
    if (message.type === 'row' || message.type === 'order' || message.type === 'done' ||
        message.type === 'combined') {
      if (message.id === runId) onRun(message);
      return;
    }
    if (message.type === 'zipping') {
      $('zip-status').textContent = `Making the zip… ${Math.floor(message.percent)}%`;
      return;
    }
    if (message.type === 'error' && message.id === runId) {
      document.body.dataset.state = 'done';
      $('counts').textContent = 'The conversion stopped: ' + message.text;
      return;
    }
    const waiting = pending.get(message.id);
    if (!waiting) return;
    pending.delete(message.id);
    if (message.type === 'error') waiting.reject(new Error(message.text));
    else waiting.resolve(message);
  };

  function start() {
    runId = ++requestId;
    counts = {converted: 0, warned: 0, failed: 0, skipped: 0};
    total = items.length;
    $('combine').disabled = format() !== 'beerjson';
    if ($('combine').disabled) $('combine').checked = false;
    const tbody = $('rows').querySelector('tbody');
    tbody.replaceChildren();
    rows = items.map(() => null);
    $('empty').hidden = items.length > 0;
    $('progress-box').hidden = items.length === 0;
    $('actions').hidden = items.length === 0;
    $('rows-wrap').hidden = items.length === 0;
    $('download-all').disabled = true;
    $('zip-status').textContent = '';
    combinedOutput = '';
    document.body.dataset.state = 'converting';
    updateCounts();
    if (items.length === 0) return;
    worker.postMessage({type: 'convert', id: runId, format: format(), combine: $('combine').checked,
                        items});
  }

  function cell(className, text) {
    const td = document.createElement('td');
    if (className) td.className = className;
    if (text !== undefined) td.textContent = text;
    return td;
  }

  function onRun(message) {
    if (message.type === 'order') {
      // The rows in the batch program's order, each waiting for its result.
      const tbody = $('rows').querySelector('tbody');
      const fragment = document.createDocumentFragment();
      for (const index of message.order) {
        const tr = document.createElement('tr');
        const plan = message.planned[index];
        const status = cell('result');
        status.append(Object.assign(document.createElement('span'),
                                    {className: 'status waiting', textContent: 'Waiting'}));
        tr.append(cell('file', items[index].path), cell('kind', KINDS[plan.kind] || 'Unknown file'),
                  cell('n', ''), status, cell('row-actions'));
        rows[index] = {tr, result: null};
        fragment.append(tr);
      }
      tbody.append(fragment);
    } else if (message.type === 'row') {
      fillRow(message);
      counts[message.status]++;
      updateCounts();
    } else if (message.type === 'combined') {
      combinedOutput = message.status === 'written' ? message.output : '';
      $('zip-status').textContent = message.status === 'written'
        ? `Every record is in one file, ${message.output}, in the zip.`
        : 'The single file could not be made: ' + message.messages.map((m) => m.text).join(' ');
    } else if (message.type === 'done') {
      document.body.dataset.state = 'done';
      const outputs = rows.filter((row) => row && row.result && row.result.output).length;
      $('download-all').disabled = outputs === 0 && !combinedOutput;
      updateCounts();
    }
  }

  function fillRow(message) {
    const row = rows[message.index];
    row.result = message;
    const [, kind, records, result, actions] = row.tr.children;
    kind.textContent = KINDS[message.kind] || (message.kind ? message.kind : 'Unknown file');
    records.textContent = message.status === 'skipped' ? '' : String(message.records);
    records.dataset.unit = message.records === 1 ? ' record' : ' records';
    const status = Object.assign(document.createElement('span'),
                                 {className: 'status ' + message.status,
                                  textContent: STATUS[message.status]});
    result.replaceChildren(status);
    if (message.messages.length) {
      const list = document.createElement('ul');
      list.className = 'messages';
      // The programs' words; the subject only when it is not the row's own file.
      for (const said of message.messages) {
        const text = said.subject === items[message.index].path ? said.text
                                                                : `${said.subject}: ${said.text}`;
        list.append(Object.assign(document.createElement('li'), {textContent: text}));
      }
      result.append(list);
    }
    const item = items[message.index];
    if (message.output) {
      const download = Object.assign(document.createElement('button'),
                                     {type: 'button', className: 'link', textContent: 'Download'});
      download.setAttribute('aria-label', `Download ${message.output}`);
      download.addEventListener('click', () => downloadOne(message.output));
      actions.append(download);
    }
    if (message.status === 'converted' || message.status === 'warned') {
      const look = Object.assign(document.createElement('button'),
                                 {type: 'button', className: 'link', textContent: 'Show'});
      look.setAttribute('aria-label', `Show what is in ${item.path}`);
      look.addEventListener('click', () => showPreview(item));
      actions.append(look);
    }
  }

  function updateCounts() {
    const done = counts.converted + counts.warned + counts.failed + counts.skipped;
    $('progress').max = Math.max(total, 1);
    $('progress').value = done;
    const parts = [`${counts.converted} converted`];
    if (counts.warned) parts.push(`${counts.warned} with warnings`);
    parts.push(`${counts.failed} failed`, `${counts.skipped} skipped`);
    const head = done < total ? `Converting: ${done} of ${total} files` : `Done: ${total} files`;
    $('counts').textContent = `${head} — ${parts.join(', ')}.`;
  }

  function save(blob, name) {
    const url = URL.createObjectURL(blob);
    const link = Object.assign(document.createElement('a'), {href: url, download: name});
    document.body.append(link);
    link.click();
    link.remove();
    setTimeout(() => URL.revokeObjectURL(url), 60000);
  }

  async function downloadOne(path) {
    const message = await request({type: 'output', path});
    const type = path.endsWith('.json') ? 'application/json' : 'application/xml';
    save(new Blob([message.bytes], {type}), path.split('/').pop());
  }

  $('download-all').addEventListener('click', async () => {
    $('download-all').disabled = true;
    try {
      const message = await request({type: 'zip'});
      save(message.blob, 'kegverter-' + format() + '.zip');
      $('zip-status').textContent = 'The zip is in your downloads.';
    } catch (error) {
      $('zip-status').textContent = 'The zip could not be made: ' + error.message;
    } finally {
      $('download-all').disabled = false;
    }
  });

  // The preview: the BeerJSON the library writes for the file, drawn as a card, chart or table.
  let previewed = null;
  async function showPreview(item) {
    previewed = await request({type: 'preview', item});
    previewed.path = item.path;
    drawPreview();
    $('preview').hidden = false;
    $('preview').focus();
  }

  function drawPreview() {
    if (!previewed) return;
    $('preview-title').textContent = 'What is in ' + previewed.path.split('/').pop();
    let parts;
    try {
      parts = Views.render(JSON.parse(previewed.json), units());
    } catch (error) {
      parts = [Object.assign(document.createElement('p'), {textContent: 'This file has nothing to show.'})];
    }
    $('preview-body').replaceChildren(...parts);
  }

  for (const radio of document.querySelectorAll('input[name="units"]')) {
    radio.addEventListener('change', () => {
      try { localStorage.setItem('kegverter-units', units()); } catch (error) { /* storage off */ }
      drawPreview();
    });
  }
  $('preview-close').addEventListener('click', () => {
    $('preview').hidden = true;
    previewed = null;
  });

  for (const radio of document.querySelectorAll('input[name="format"]')) {
    radio.addEventListener('change', start);
  }
  $('combine').addEventListener('change', start);

  function use(list) {
    items = list;
    $('preview').hidden = true;
    start();
  }

  // Picked files: a folder's come with their path below the folder's parent.
  function fromPicker(input) {
    const list = [...input.files].map((file) => ({path: file.webkitRelativePath || file.name, file}));
    input.value = '';
    use(list);
  }
  $('pick-folder').addEventListener('change', (event) => fromPicker(event.target));
  $('pick-files').addEventListener('change', (event) => fromPicker(event.target));

  // Dropped files and folders: each folder read whole, its entries with their paths.
  async function readEntry(entry, out, failures) {
    if (entry.isFile) {
      try {
        const file = await new Promise((resolve, reject) => entry.file(resolve, reject));
        out.push({path: entry.fullPath.replace(/^\/+/, ''), file});
      } catch (error) {
        failures.push({path: entry.fullPath.replace(/^\/+/, ''), file: null,
                      error: String((error && error.message) || error)});
      }
      return;
    }
    if (!entry.isDirectory) return;
    const reader = entry.createReader();
    for (;;) {
      let batch;
      try {
        batch = await new Promise((resolve, reject) => reader.readEntries(resolve, reject));
      } catch (error) {
        break;
      }
      if (batch.length === 0) break;
      for (const child of batch) await readEntry(child, out, failures);
    }
  }

  const drop = $('drop');
  drop.addEventListener('dragover', (event) => {
    event.preventDefault();
    drop.classList.add('over');
  });
  drop.addEventListener('dragleave', () => drop.classList.remove('over'));
  drop.addEventListener('drop', async (event) => {
    event.preventDefault();
    drop.classList.remove('over');
    const entries = [...event.dataTransfer.items]
        .map((item) => (item.webkitGetAsEntry ? item.webkitGetAsEntry() : null));
    const list = [];
    const failures = [];
    if (entries.every((entry) => entry)) {
      for (const entry of entries) await readEntry(entry, list, failures);
    } else {
      for (const file of event.dataTransfer.files) list.push({path: file.name, file});
    }
    use(list.concat(failures));
  });
  // The whole page takes a drop too, so a near miss does not open the file in the browser.
  window.addEventListener('dragover', (event) => event.preventDefault());
  window.addEventListener('drop', (event) => event.preventDefault());
  drop.addEventListener('click', () => $('pick-folder').click());
  drop.addEventListener('keydown', (event) => {
    if (event.key === 'Enter' || event.key === ' ') {
      event.preventDefault();
      $('pick-folder').click();
    }
  });
})();
