// The page in Debian's Chromium (puppeteer-core, the system's browser): what it converts is
// what kegverter-batch writes, byte for byte, zip included; bad files give their rows; the page
// asks for nothing but its own files; the recipe card shows the recipe; screenshots for a person
// to look at. Run by scripts/test-web.sh, which makes the inputs and sets the environment.
'use strict';

const {after, before, describe, test} = require('node:test');
const assert = require('node:assert/strict');
const {execFileSync, spawnSync} = require('node:child_process');
const fs = require('node:fs');
const http = require('node:http');
const os = require('node:os');
const path = require('node:path');
const puppeteer = require('puppeteer-core');

const BATCH = process.env.KEGVERTER_BATCH;
const WEB = process.env.KEGVERTER_WEB_DIR;
const DATA = process.env.KEGVERTER_WEB_DATA;
const EXAMPLES = process.env.KEGVERTER_EXAMPLES;
const SHOTS = path.join(WEB, 'screenshots');
const FORMATS = ['beerxml1', 'beerjson', 'beerxml2'];
const TYPES = {'.html': 'text/html', '.js': 'text/javascript', '.css': 'text/css',
               '.wasm': 'application/wasm'};

let server;
let origin;
let browser;
const scratch = fs.mkdtempSync(path.join(os.tmpdir(), 'kegverter-web-'));
const requests = [];  // every URL any page asked for

before(async () => {
  fs.mkdirSync(SHOTS, {recursive: true});
  server = http.createServer((request, response) => {
    const name = decodeURIComponent(new URL(request.url, 'http://host').pathname);
    const file = path.join(WEB, name.endsWith('/') ? name + 'index.html' : name);
    if (!file.startsWith(WEB + path.sep) || !fs.existsSync(file) || !fs.statSync(file).isFile()) {
      response.writeHead(404);
      response.end();
      return;
    }
    response.writeHead(200, {'Content-Type': TYPES[path.extname(file)] || 'application/octet-stream'});
    fs.createReadStream(file).pipe(response);
  });
  await new Promise((resolve) => server.listen(0, '127.0.0.1', resolve));
  origin = `http://127.0.0.1:${server.address().port}`;
  browser = await puppeteer.launch({
    executablePath: '/usr/bin/chromium',
    headless: true,
    args: ['--no-sandbox', '--disable-dev-shm-usage'],
  });
});

after(async () => {
  if (browser) await browser.close();
  if (server) server.close();
  fs.rmSync(scratch, {recursive: true, force: true});
});

// A fresh page at `width`, its downloads going to a folder of its own.
async function open(width) {
  const page = await browser.newPage();
  await page.setViewport({width, height: 900});
  page.on('request', (request) => requests.push(request.url()));
  page.on('pageerror', (error) => { throw error; });
  const downloads = fs.mkdtempSync(path.join(scratch, 'downloads-'));
  const session = await page.createCDPSession();
  await session.send('Browser.setDownloadBehavior', {behavior: 'allow', downloadPath: downloads});
  await page.goto(origin + '/', {waitUntil: 'load'});
  page.downloads = downloads;
  return page;
}

async function chooseFormat(page, format) {
  await page.click(`input[name="format"][value="${format}"]`);
}

// Picks a folder through the page's folder picker and waits until every file has its row.
async function convert(page, folder) {
  const picker = await page.$('#pick-folder');
  await page.evaluate(() => { document.body.dataset.state = ''; });
  await picker.uploadFile(folder);
  await page.waitForFunction(() => document.body.dataset.state === 'done', {timeout: 240000});
}

async function rows(page) {
  return page.$$eval('#rows tbody tr', (trs) => trs.map((tr) => ({
    file: tr.children[0].textContent,
    kind: tr.children[1].textContent,
    records: tr.children[2].textContent,
    status: tr.querySelector('.status').className.replace('status ', ''),
    messages: [...tr.querySelectorAll('.messages li')].map((li) => li.textContent),
  })));
}

// Waits for a finished download named `name` and gives its path.
async function downloaded(page, name) {
  const file = path.join(page.downloads, name);
  for (let i = 0; i < 600; i++) {
    if (fs.existsSync(file) && !fs.readdirSync(page.downloads).some((f) => f.endsWith('.crdownload'))) {
      return file;
    }
    await new Promise((resolve) => setTimeout(resolve, 100));
  }
  throw new Error('no download ' + name);
}

function files(folder) {
  const found = [];
  const walk = (dir) => {
    for (const entry of fs.readdirSync(dir, {withFileTypes: true})) {
      const full = path.join(dir, entry.name);
      if (entry.isDirectory()) walk(full);
      else found.push(path.relative(folder, full));
    }
  };
  walk(folder);
  return found.sort();
}

// The folder kegverter-batch -o makes for `input` in `format`.
function batch(input, format, ...extra) {
  const out = fs.mkdtempSync(path.join(scratch, 'batch-'));
  const run = spawnSync(BATCH, ['-q', '--to', format, '-o', out, ...extra, input], {encoding: 'utf8'});
  assert.ok(run.status === 0 || run.status === 1, run.stderr);
  return out;
}

function assertSameTree(actual, expected) {
  assert.deepEqual(files(actual), files(expected));
  for (const name of files(expected)) {
    const same = fs.readFileSync(path.join(actual, name)).equals(fs.readFileSync(path.join(expected, name)));
    assert.ok(same, `${name} differs from kegverter-batch's`);
  }
}

// Converts `folder` in each format through the page and compares the zip with the batch's folder.
async function compareFolder(folder, shots) {
  const page = await open(1280);
  for (const format of FORMATS) {
    await chooseFormat(page, format);
    await convert(page, folder);
    await page.click('#download-all');
    const zip = await downloaded(page, `kegverter-${format}.zip`);
    const unzipped = fs.mkdtempSync(path.join(scratch, 'zip-'));
    execFileSync('python3', ['-c', 'import sys, zipfile; zipfile.ZipFile(sys.argv[1]).extractall(sys.argv[2])',
                             zip, unzipped]);
    fs.rmSync(zip);
    assertSameTree(unzipped, batch(folder, format));
    if (shots && format === 'beerxml1') {
      await page.screenshot({path: path.join(SHOTS, `${shots}-1280.png`), fullPage: true});
      await page.setViewport({width: 390, height: 900});
      await page.screenshot({path: path.join(SHOTS, `${shots}-390.png`), fullPage: true});
      await page.setViewport({width: 1280, height: 900});
    }
  }
  await page.close();
}

describe('the page', {concurrency: false}, () => {
  test('the empty page says that nothing leaves the computer', async () => {
    const page = await open(1280);
    assert.match(await page.$eval('#private', (e) => e.textContent), /Nothing is uploaded/);
    // Every control has a name a screen reader says.
    const unnamed = await page.$$eval('input, button', (controls) => controls.filter((c) =>
        !(c.labels && c.labels.length) && !c.getAttribute('aria-label') && !c.textContent.trim())
        .map((c) => c.id || c.name));
    assert.deepEqual(unnamed, []);
    await page.screenshot({path: path.join(SHOTS, 'empty-1280.png'), fullPage: true});
    await page.setViewport({width: 390, height: 900});
    await page.screenshot({path: path.join(SHOTS, 'empty-390.png'), fullPage: true});
    const wide = await page.evaluate(() => document.documentElement.scrollWidth);
    assert.ok(wide <= 390, `the page is ${wide} px wide at 390`);
    await page.close();
  });

  test('the examples in every format: the zip holds what kegverter-batch writes', async () => {
    await compareFolder(EXAMPLES, 'examples');
  });

  test('one BeerJSON document of every record is the batch\'s --combine', async () => {
    const page = await open(1280);
    await chooseFormat(page, 'beerjson');
    await page.click('#combine');
    for (const folder of [EXAMPLES, path.join(DATA, 'library')]) {
      await convert(page, folder);
      await page.click('#download-all');
      const zip = await downloaded(page, 'kegverter-beerjson.zip');
      const unzipped = fs.mkdtempSync(path.join(scratch, 'zip-'));
      execFileSync('python3', ['-c', 'import sys, zipfile; zipfile.ZipFile(sys.argv[1]).extractall(sys.argv[2])',
                               zip, unzipped]);
      fs.rmSync(zip);
      assert.deepEqual(files(unzipped), ['kegverter.json']);
      const expected = path.join(scratch, 'combined.json');
      spawnSync(BATCH, ['-q', '-j', '1', '--to', 'beerjson', '--combine', expected, folder]);
      assert.ok(fs.readFileSync(path.join(unzipped, 'kegverter.json')).equals(fs.readFileSync(expected)),
                `the combined document of ${folder} differs from kegverter-batch's`);
    }
    await page.close();
  });

  test('one output downloaded alone is the batch\'s', async () => {
    const page = await open(1280);
    await convert(page, EXAMPLES);
    const expected = batch(EXAMPLES, 'beerxml1');
    await page.click('button[aria-label="Download Pale Ale.xml"]');
    const file = await downloaded(page, 'Pale Ale.xml');
    assert.ok(fs.readFileSync(file).equals(fs.readFileSync(path.join(expected, 'Pale Ale.xml'))));
    const table = await rows(page);
    assert.equal(table.length, 9);
    assert.ok(table.every((row) => row.status === 'converted'));
    assert.deepEqual(table.find((row) => row.file.endsWith('hops.dat')).records, '3');
    await page.close();
  });

  test('a generated library with colliding outputs: the same names and bytes as the batch', async () => {
    await compareFolder(path.join(DATA, 'library'));
  });

  test('a format chosen while a folder converts: the zip holds that format\'s outputs only', async () => {
    const folder = path.join(DATA, 'library');
    const page = await open(1280);
    await page.evaluate(() => { document.body.dataset.state = ''; });
    await (await page.$('#pick-folder')).uploadFile(folder);
    await page.waitForFunction(() => document.querySelectorAll('#rows .status.converted').length > 5);
    await chooseFormat(page, 'beerjson');
    await page.waitForFunction(() => document.body.dataset.state === 'done', {timeout: 240000});
    await page.click('#download-all');
    const zip = await downloaded(page, 'kegverter-beerjson.zip');
    const unzipped = fs.mkdtempSync(path.join(scratch, 'zip-'));
    execFileSync('python3', ['-c', 'import sys, zipfile; zipfile.ZipFile(sys.argv[1]).extractall(sys.argv[2])',
                             zip, unzipped]);
    assertSameTree(unzipped, batch(folder, 'beerjson'));
    await page.close();
  });

  test('damaged, empty, unknown and not converted files give their rows', async () => {
    const page = await open(1280);
    await convert(page, path.join(DATA, 'bad'));
    const table = await rows(page);
    const row = (name) => table.find((r) => r.file === 'bad/' + name);
    assert.equal(row('Damaged.rec').status, 'warned');
    assert.deepEqual(row('Damaged.rec').messages,
                     ['the file is truncated; the missing bytes were read as zeros']);
    assert.equal(row('hops.dat').status, 'warned');
    assert.equal(row('empty.rec').status, 'failed');
    assert.deepEqual(row('empty.rec').messages, ['the file is empty']);
    assert.equal(row('notes.txt').status, 'skipped');
    assert.deepEqual(row('notes.txt').messages, ['not a file Kegverter converts']);
    assert.equal(row('session.brw').status, 'skipped');
    assert.equal(row('session.brw').kind, 'Brew session');
    assert.deepEqual(row('session.brw').messages, ['brew session files are not converted']);
    assert.match(await page.$eval('#counts', (e) => e.textContent),
                 /5 files — 0 converted, 2 with warnings, 1 failed, 2 skipped/);
    await page.click('#download-all');
    const zip = await downloaded(page, 'kegverter-beerxml1.zip');
    const unzipped = fs.mkdtempSync(path.join(scratch, 'zip-'));
    execFileSync('python3', ['-c', 'import sys, zipfile; zipfile.ZipFile(sys.argv[1]).extractall(sys.argv[2])',
                             zip, unzipped]);
    assertSameTree(unzipped, batch(path.join(DATA, 'bad'), 'beerxml1'));
    await page.close();
  });

  test('a file that cannot be read any more is one failed row with the reason', async () => {
    const folder = path.join(DATA, 'vanishing');
    const page = await open(1280);
    await page.evaluate(() => { document.body.dataset.state = ''; });
    await (await page.$('#pick-folder')).uploadFile(folder);
    // The page reads a file only when its turn comes, after the large database: once both rows
    // are listed, the second file goes.
    await page.waitForFunction(() => document.querySelectorAll('#rows tbody tr').length === 2);
    fs.rmSync(path.join(folder, 'b', 'Gone.rec'));
    await page.waitForFunction(() => document.body.dataset.state === 'done', {timeout: 240000});
    const table = await rows(page);
    const gone = table.find((row) => row.file === 'vanishing/b/Gone.rec');
    assert.equal(gone.status, 'failed');
    assert.equal(gone.messages.length, 1);
    assert.match(gone.messages[0], /^cannot open: /);
    assert.equal(table.find((row) => row.file === 'vanishing/a/hops.dat').status, 'converted');
    await page.close();
  });

  test('the recipe card shows the example recipe', async () => {
    const page = await open(1280);
    await convert(page, EXAMPLES);
    await page.click('button[aria-label="Show what is in examples/Pale Ale.rec"]');
    await page.waitForSelector('#preview article.card');
    const text = await page.$eval('#preview', (e) => e.innerText);
    for (const shown of ['Pale Ale', 'American Pale Ale', '1.052', '5.5 gal', '7 gal',
                         'Pale Malt (2 Row)', '9.5 lb', 'Crystal 40L', '0.75 lb', 'Honey', '0.5 lb',
                         'Magnum', 'Cascade', 'Wyeast Labs 1056', 'Irish Moss', 'Soft Tap Water',
                         'Saccharification Rest', '88.4%']) {
      assert.ok(text.includes(shown), `the card does not show ${shown}`);
    }
    assert.ok(await page.$('#preview svg.chart polyline'), 'no mash chart');
    const card = await page.$('#preview');
    await card.screenshot({path: path.join(SHOTS, 'recipe-1280.png')});
    await page.click('input[name="units"][value="metric"]');
    const metric = await page.$eval('#preview', (e) => e.innerText);
    for (const shown of ['20.82 L', '4.31 kg', '66.7°C']) {
      assert.ok(metric.includes(shown), `the metric card does not show ${shown}`);
    }
    await page.setViewport({width: 390, height: 900});
    await card.screenshot({path: path.join(SHOTS, 'recipe-390.png')});
    // The choice of units is kept.
    await page.reload({waitUntil: 'load'});
    assert.equal(await page.$eval('input[name="units"]:checked', (e) => e.value), 'metric');
    await page.close();
  });

  test('a database shows as a table filtered by name', async () => {
    const page = await open(1280);
    await convert(page, EXAMPLES);
    await page.click('button[aria-label="Show what is in examples/hops.dat"]');
    await page.waitForSelector('#db-filter');
    assert.equal((await page.$$('#preview tbody tr')).length, 3);
    await page.type('#db-filter', 'casc');
    assert.equal((await page.$$('#preview tbody tr')).length, 1);
    await (await page.$('#preview')).screenshot({path: path.join(SHOTS, 'database-1280.png')});
    await page.close();
  });

  test('a 100,000-record database converts in the page', async () => {
    const folder = path.join(DATA, 'large');
    const page = await open(1280);
    const start = process.hrtime.bigint();
    await convert(page, folder);
    const pageSeconds = Number(process.hrtime.bigint() - start) / 1e9;
    const table = await rows(page);
    assert.equal(table[0].records, '100000');
    assert.equal(table[0].status, 'converted');
    const nativeStart = process.hrtime.bigint();
    const expected = batch(folder, 'beerxml1');
    const nativeSeconds = Number(process.hrtime.bigint() - nativeStart) / 1e9;
    await page.click('button[aria-label="Download hops.xml"]');
    const file = await downloaded(page, 'hops.xml');
    assert.ok(fs.readFileSync(file).equals(fs.readFileSync(path.join(expected, 'hops.xml'))));
    const line = `100,000-record hops.dat to BeerXML 1.0: page ${pageSeconds.toFixed(2)} s, ` +
                 `kegverter-batch ${nativeSeconds.toFixed(2)} s ` +
                 `(${(pageSeconds / nativeSeconds).toFixed(1)} times)`;
    console.log(line);
    fs.writeFileSync(path.join(WEB, 'screenshots', 'timing-100k.txt'), line + '\n');
    await page.close();
  });

  test('the page asked for nothing but its own files', () => {
    assert.ok(requests.length > 0);
    const outside = requests.filter((url) => !url.startsWith(origin + '/') &&
                                             !url.startsWith('blob:') && !url.startsWith('data:'));
    assert.deepEqual(outside, []);
  });
});
