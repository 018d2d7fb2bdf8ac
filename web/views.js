// What the preview shows, drawn from the BeerJSON document the library writes for a file: a
// recipe card, a mash schedule's chart and steps, a database as a table. Only units are converted
// here (for showing US or metric amounts); every value comes from the document.
/* global srmOf, srmColour */
'use strict';

const Views = (() => {
  const SVG = 'http://www.w3.org/2000/svg';

  function el(tag, attributes, ...children) {
    const node = document.createElement(tag);
    for (const [name, value] of Object.entries(attributes || {})) {
      if (name === 'text') node.textContent = value;
      else if (name === 'className') node.className = value;
      else node.setAttribute(name, value);
    }
    for (const child of children) {
      if (child !== null && child !== undefined) node.append(child);
    }
    return node;
  }

  function svg(tag, attributes, text) {
    const node = document.createElementNS(SVG, tag);
    for (const [name, value] of Object.entries(attributes || {})) node.setAttribute(name, value);
    if (text !== undefined) node.textContent = text;
    return node;
  }

  // Units: each US unit and its metric counterpart, with the factor from the first to the second.
  const PAIRS = {
    gal: ['l', 3.785411784], qt: ['l', 0.946352946], floz: ['ml', 29.5735295625],
    lb: ['kg', 0.45359237], oz: ['g', 28.349523125], 'qt/lb': ['l/kg', 2.0863511],
  };
  const METRIC = {};
  for (const [us, [metric, factor]] of Object.entries(PAIRS)) {
    if (!(metric in METRIC)) METRIC[metric] = [us, 1 / factor];
  }
  METRIC.kg = ['lb', 1 / 0.45359237];
  METRIC.g = ['oz', 1 / 28.349523125];
  METRIC.l = ['gal', 1 / 3.785411784];
  METRIC.ml = ['floz', 1 / 29.5735295625];

  // A quantity ({unit, value}) in the units the reader chose.
  function inUnits(quantity, units) {
    if (!quantity || typeof quantity.value !== 'number') return null;
    let {unit, value} = quantity;
    if (units === 'metric' && unit in PAIRS) {
      [unit, value] = [PAIRS[unit][0], value * PAIRS[unit][1]];
    } else if (units === 'us' && unit in METRIC) {
      [unit, value] = [METRIC[unit][0], value * METRIC[unit][1]];
    }
    if (unit === 'F' && units === 'metric') [unit, value] = ['C', (value - 32) / 1.8];
    if (unit === 'C' && units === 'us') [unit, value] = ['F', value * 1.8 + 32];
    return {unit, value};
  }

  function number(value, digits) {
    return value.toLocaleString('en', {maximumFractionDigits: digits, minimumFractionDigits: 0});
  }

  const NAMES = {l: 'L', ml: 'mL', floz: 'fl oz', F: '°F', C: '°C', sg: '', min: 'min',
                 day: 'days', ppm: 'ppm', '%': '%', SRM: 'SRM', EBC: 'EBC', Lovi: '°L'};

  function show(quantity, units, digits) {
    const q = inUnits(quantity, units);
    if (!q) return '';
    const name = q.unit in NAMES ? NAMES[q.unit] : q.unit;
    const places = digits !== undefined ? digits : (q.unit === 'sg' ? 3 : 2);
    const text = q.unit === 'sg' ? q.value.toFixed(places) : number(q.value, places);
    if (name === '%' || name === '°F' || name === '°C' || name === '°L') return text + name;
    return name ? text + ' ' + name : text;
  }

  function massKg(quantity) {
    const factors = {kg: 1, g: 0.001, lb: 0.45359237, oz: 0.028349523125, mg: 1e-6};
    return quantity && quantity.unit in factors ? quantity.value * factors[quantity.unit] : null;
  }

  function table(caption, head, rows, numeric) {
    const thead = el('thead', {}, el('tr', {}, ...head.map((text, i) =>
        el('th', {scope: 'col', className: numeric && numeric.includes(i) ? 'n' : '', text}))));
    const tbody = el('tbody');
    for (const row of rows) {
      tbody.append(el('tr', {}, ...row.map((cell, i) => {
        const td = el('td', {className: numeric && numeric.includes(i) ? 'n' : ''});
        td.append(cell === undefined || cell === null ? '' : cell);
        return td;
      })));
    }
    return el('div', {className: 'table-wrap'},
              el('table', {}, el('caption', {className: 'visually-hidden', text: caption}), thead, tbody));
  }

  function timing(addition, units) {
    const t = addition.timing || {};
    const use = {add_to_mash: 'mash', add_to_boil: 'boil', add_to_fermentation: 'fermenter',
                 add_to_package: 'package'}[t.use] || (t.use || '');
    const duration = show(t.duration, units, 0);
    return {use, duration};
  }

  // Temperature over time: each step ramps from where the last ended to its temperature, holds
  // for its time, and ends at its end temperature. Starts at the grain's temperature when given.
  function mashChart(mash, units) {
    const steps = mash.mash_steps || [];
    const temp = (q) => { const t = inUnits(q, units); return t ? t.value : null; };
    const points = [];
    const labels = [];
    let time = 0;
    let unit = '';
    const start = temp(mash.grain_temperature);
    if (start !== null && steps.length > 0) points.push([0, start]);
    for (const step of steps) {
      const target = temp(step.step_temperature);
      if (target === null) continue;
      unit = inUnits(step.step_temperature, units).unit;
      const ramp = step.ramp_time ? step.ramp_time.value : 0;
      if (points.length === 0) points.push([0, target]);
      time += Math.max(0, ramp);
      points.push([time, target]);
      const hold = step.step_time ? step.step_time.value : 0;
      labels.push([time + Math.max(0, hold) / 2, target, step.name || '']);
      time += Math.max(0, hold);
      const end = temp(step.end_temperature);
      points.push([time, end !== null ? end : target]);
    }
    if (points.length < 2) return el('p', {text: 'No steps with a temperature to draw.'});
    const width = 520;
    const height = 280;
    const pad = {left: 58, right: 14, top: 30, bottom: 44};
    const temps = points.map((p) => p[1]);
    // Round steps of 5, 10, 20 or 25 degrees, about five of them.
    const span = Math.max(...temps) - Math.min(...temps);
    const tickStep = [5, 10, 20, 25, 50].find((step) => span / step <= 5) || 100;
    const low = Math.floor((Math.min(...temps) - 1) / tickStep) * tickStep;
    let high = Math.ceil((Math.max(...temps) + 1) / tickStep) * tickStep;
    if (high === low) high = low + tickStep;
    const total = Math.max(time, 1);
    const x = (t) => pad.left + (t / total) * (width - pad.left - pad.right);
    const y = (v) => pad.top + (1 - (v - low) / (high - low)) * (height - pad.top - pad.bottom);
    const name = unit === 'C' ? '°C' : '°F';
    const chart = svg('svg', {viewBox: `0 0 ${width} ${height}`, class: 'chart', role: 'img',
                              'aria-label': `Mash temperature over ${number(total, 0)} minutes`});
    for (let v = low; v <= high; v += tickStep) {
      chart.append(svg('line', {x1: pad.left, x2: width - pad.right, y1: y(v), y2: y(v), class: 'grid'}));
      chart.append(svg('text', {x: pad.left - 6, y: y(v) + 4, 'text-anchor': 'end'}, number(v, 0) + name));
    }
    const minutes = [15, 30, 60, 120, 240].find((m) => total / m <= 8) || 480;
    for (let m = 0; m <= total; m += minutes) {
      chart.append(svg('text', {x: x(m), y: height - pad.bottom + 18, 'text-anchor': 'middle'}, String(m)));
    }
    chart.append(svg('text', {x: (pad.left + width - pad.right) / 2, y: height - 6,
                              'text-anchor': 'middle'}, 'minutes'));
    chart.append(svg('line', {x1: pad.left, x2: pad.left, y1: pad.top, y2: height - pad.bottom, class: 'axis'}));
    chart.append(svg('line', {x1: pad.left, x2: width - pad.right, y1: height - pad.bottom,
                              y2: height - pad.bottom, class: 'axis'}));
    chart.append(svg('polyline', {class: 'line',
                                  points: points.map(([t, v]) => `${x(t)},${y(v)}`).join(' ')}));
    labels.forEach(([t, v, text], i) => {
      const middle = Math.min(Math.max(x(t), pad.left + 45), width - pad.right - 45);
      chart.append(svg('text', {x: middle, y: y(v) - 8 - (i % 2) * 15, 'text-anchor': 'middle',
                                class: 'step-label'}, text));
    });
    return chart;
  }

  function mashSteps(mash, units) {
    return table('Mash steps', ['Step', 'Type', 'Temperature', 'Time', 'Water'],
                 (mash.mash_steps || []).map((step) => [
                   step.name, step.type, show(step.step_temperature, units, 1),
                   show(step.step_time, units, 0), show(step.amount, units, 2)]),
                 [2, 3, 4]);
  }

  function mashView(mash, units) {
    return el('div', {},
              el('h3', {text: mash.name || 'Mash'}),
              mash.grain_temperature ? el('p', {text: 'Grain temperature: ' + show(mash.grain_temperature, units, 1)}) : null,
              mashChart(mash, units), mashSteps(mash, units));
  }

  function fact(term, value, extra) {
    return el('div', {}, el('dt', {text: term}),
              el('dd', {text: value || 'not in the file', className: value ? '' : 'none'}, extra || null));
  }

  function recipeCard(recipe, units) {
    const style = recipe.style || {};
    const ingredients = recipe.ingredients || {};
    const colour = srmOf(recipe.color_estimate);
    const swatch = el('div', {className: colour === null ? 'swatch none' : 'swatch', role: 'img',
                              'aria-label': colour === null ? 'Colour not given in the file'
                                                            : `Colour ${number(colour, 1)} SRM`});
    if (colour !== null) swatch.style.background = srmColour(colour);
    const styleLine = [style.name, style.category].filter(Boolean).join(' · ');
    const head = el('div', {className: 'card-head'}, swatch,
                    el('div', {}, el('h3', {text: recipe.name || 'Recipe'}),
                       el('p', {text: [styleLine, recipe.type].filter(Boolean).join(' — ')})));
    const ibu = recipe.ibu_estimate && typeof recipe.ibu_estimate.value === 'number'
      ? number(recipe.ibu_estimate.value, 1) + ' IBU' : '';
    const facts = el('dl', {className: 'facts'},
                     fact('Batch size', show(recipe.batch_size, units, 2)),
                     fact('Boil size', recipe.boil ? show(recipe.boil.pre_boil_size, units, 2) : ''),
                     fact('Boil time', recipe.boil ? show(recipe.boil.boil_time, units, 0) : ''),
                     fact('Original gravity', show(recipe.original_gravity, units, 3)),
                     recipe.final_gravity ? fact('Final gravity', show(recipe.final_gravity, units, 3)) : null,
                     fact('Bitterness', ibu),
                     fact('Colour', colour === null ? '' : show(recipe.color_estimate, units, 1)),
                     recipe.efficiency && recipe.efficiency.brewhouse
                       ? fact('Efficiency', show(recipe.efficiency.brewhouse, units, 0)) : null);
    const parts = [head, facts];
    const grains = ingredients.fermentable_additions || [];
    if (grains.length) {
      const masses = grains.map((g) => massKg(g.amount));
      const total = masses.reduce((sum, m) => sum + (m || 0), 0);
      parts.push(el('h3', {text: 'Grain bill'}), table('Grain bill',
          ['Fermentable', 'Type', 'Amount', 'Share', 'Colour'],
          grains.map((g, i) => {
            const share = masses[i] !== null && total > 0 ? (100 * masses[i]) / total : null;
            const cell = share === null ? '' : el('span', {},
                el('span', {className: 'bar', style: `width:${Math.round(share * 0.6)}px`}),
                number(share, 1) + '%');
            return [g.name, g.type, show(g.amount, units, 2), cell, show(g.color, units, 1)];
          }), [2, 3, 4]));
    }
    const hops = ingredients.hop_additions || [];
    if (hops.length) {
      parts.push(el('h3', {text: 'Hops'}), table('Hop schedule',
          ['Hop', 'Form', 'Alpha acid', 'Amount', 'Added to', 'Time'],
          hops.map((h) => {
            const t = timing(h, units);
            return [h.name, h.form, show(h.alpha_acid, units, 2), show(h.amount, units, 2), t.use, t.duration];
          }), [2, 3, 5]));
    }
    const cultures = ingredients.culture_additions || [];
    if (cultures.length) {
      parts.push(el('h3', {text: 'Yeast'}), table('Yeast',
          ['Yeast', 'Maker', 'Type', 'Form', 'Attenuation'],
          cultures.map((c) => [c.name, [c.producer, c.product_id].filter(Boolean).join(' '),
                               c.type, c.form, show(c.attenuation, units, 0)]), [4]));
    }
    const miscs = ingredients.miscellaneous_additions || [];
    if (miscs.length) {
      parts.push(el('h3', {text: 'Other ingredients'}), table('Other ingredients',
          ['Ingredient', 'Type', 'Amount', 'Added to', 'Time'],
          miscs.map((m) => { const t = timing(m, units);
                             return [m.name, m.type, show(m.amount, units, 2), t.use, t.duration]; }),
          [2, 4]));
    }
    const waters = ingredients.water_additions || [];
    if (waters.length) {
      parts.push(el('h3', {text: 'Water'}), waterTable(waters, units, true));
    }
    if (recipe.mash) parts.push(el('h3', {text: 'Mash'}), mashView(recipe.mash, units));
    if (recipe.notes) parts.push(el('h3', {text: 'Notes'}), el('p', {className: 'notes', text: recipe.notes}));
    return el('article', {className: 'card', 'aria-label': 'Recipe ' + (recipe.name || '')}, ...parts);
  }

  const IONS = ['calcium', 'magnesium', 'sodium', 'sulfate', 'chloride', 'bicarbonate'];

  function waterTable(waters, units, amounts) {
    const head = ['Water'].concat(amounts ? ['Amount'] : [], IONS.map((ion) => ion[0].toUpperCase() + ion.slice(1) + ' (ppm)'));
    return table('Water', head, waters.map((w) => [w.name].concat(amounts ? [show(w.amount, units, 2)] : [],
        IONS.map((ion) => (w[ion] ? number(w[ion].value, 1) : '')))),
        head.map((_, i) => i).slice(1));
  }

  // A database's records: a table sortable by each column and filtered by name.
  function text(value, units) {
    if (value === null || value === undefined) return '';
    if (typeof value === 'object') {
      if ('value' in value && 'unit' in value) return show(value, units);
      if ('minimum' in value || 'maximum' in value) {
        return [show(value.minimum, units), show(value.maximum, units)].filter(Boolean).join(' – ');
      }
      return '';
    }
    return String(value);
  }

  function sortValue(value) {
    if (value && typeof value === 'object') {
      if (typeof value.value === 'number') return value.value;
      if (value.minimum && typeof value.minimum.value === 'number') return value.minimum.value;
      return '';
    }
    return value === undefined || value === null ? '' : value;
  }

  const SHOWN = 500;

  function databaseView(title, records, units) {
    const columns = [];
    for (const record of records.slice(0, 50)) {
      for (const [key, value] of Object.entries(record)) {
        if (columns.includes(key) || key === 'notes' || key === 'inventory') continue;
        if (typeof value === 'object' && value !== null && !('value' in value) &&
            !('minimum' in value || 'maximum' in value)) continue;
        if (typeof value === 'string' && value.length > 60) continue;
        columns.push(key);
      }
    }
    const shown = columns.slice(0, 8);
    const label = (key) => (key[0].toUpperCase() + key.slice(1)).replace(/_/g, ' ');
    let sortKey = 'name';
    let ascending = true;
    let filter = '';
    const input = el('input', {type: 'search', id: 'db-filter', placeholder: 'Part of a name'});
    const count = el('span', {role: 'status', 'aria-live': 'polite'});
    const wrap = el('div', {className: 'table-wrap'});
    const render = () => {
      const needle = filter.toLowerCase();
      let rows = needle ? records.filter((r) => String(r.name || '').toLowerCase().includes(needle)) : records.slice();
      rows.sort((a, b) => {
        const x = sortValue(a[sortKey]);
        const y = sortValue(b[sortKey]);
        const order = typeof x === 'number' && typeof y === 'number' ? x - y
          : String(x).localeCompare(String(y), 'en', {numeric: true});
        return ascending ? order : -order;
      });
      count.textContent = rows.length > SHOWN
        ? `${rows.length} of ${records.length} records match; the first ${SHOWN} are shown.`
        : `${rows.length} of ${records.length} records.`;
      rows = rows.slice(0, SHOWN);
      const head = el('tr', {}, ...shown.map((key) => {
        const sorted = key === sortKey;
        const button = el('button', {type: 'button', className: 'sort',
                                     text: label(key) + (sorted ? (ascending ? ' ▲' : ' ▼') : '')});
        button.addEventListener('click', () => {
          ascending = sorted ? !ascending : true;
          sortKey = key;
          render();
          wrap.querySelector(`th[data-key="${key}"] button`).focus();
        });
        return el('th', {scope: 'col', 'data-key': key,
                         'aria-sort': sorted ? (ascending ? 'ascending' : 'descending') : 'none'}, button);
      }));
      const body = el('tbody', {}, ...rows.map((r) => el('tr', {}, ...shown.map((key) =>
          el('td', {text: text(r[key], units)})))));
      wrap.replaceChildren(el('table', {}, el('caption', {className: 'visually-hidden', text: title}),
                              el('thead', {}, head), body));
    };
    input.addEventListener('input', () => { filter = input.value; render(); });
    render();
    return el('div', {},
              el('h3', {text: title}),
              el('div', {className: 'filter'}, el('label', {for: 'db-filter', text: 'Find by name'}), input, count),
              wrap);
  }

  const LISTS = {
    hop_varieties: 'Hops', fermentables: 'Fermentables', miscellaneous_ingredients: 'Other ingredients',
    styles: 'Styles', cultures: 'Yeasts', profiles: 'Water profiles',
  };

  // The view of one BeerJSON document.
  function render(document, units) {
    const root = document && document.beerjson ? document.beerjson : {};
    const parts = [];
    for (const recipe of root.recipes || []) parts.push(recipeCard(recipe, units));
    for (const mash of root.mashes || []) parts.push(mashView(mash, units));
    for (const [key, title] of Object.entries(LISTS)) {
      const list = root[key];
      if (!Array.isArray(list)) continue;
      if (key === 'profiles' && list.length <= 3) {
        parts.push(el('h3', {text: title}), waterTable(list, units, false));
      } else {
        parts.push(databaseView(title, list, units));
      }
    }
    if (parts.length === 0) parts.push(el('p', {text: 'There is nothing to show for this file.'}));
    return parts;
  }

  return {render};
})();
