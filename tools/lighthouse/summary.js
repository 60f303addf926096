// Sums up Lighthouse's JSON reports as a Markdown part of docs/performance.md;
// run by tools/web_performance.sh.
//
//   node summary.js mobile=REPORT.json... desktop=REPORT.json...
//
// For each form factor: every category's score (median and range over the
// runs), the audits that cost points outside performance, and the load's
// main figures.
'use strict';

function median(values) {
  const sorted = values.slice().sort((a, b) => a - b);
  return sorted[Math.floor(sorted.length / 2)];
}

const runs = {};
for (const argument of process.argv.slice(2)) {
  const [form, file] = argument.split('=');
  (runs[form] = runs[form] || []).push(require(file));
}

const categories = ['performance', 'accessibility', 'best-practices', 'seo'];
const figures = [
  ['first-contentful-paint', 'first contentful paint', 'ms'],
  ['largest-contentful-paint', 'largest contentful paint', 'ms'],
  ['total-blocking-time', 'total blocking time', 'ms'],
  ['mainthread-work-breakdown', 'main-thread work', 'ms'],
  ['bootup-time', 'script boot', 'ms'],
  ['total-byte-weight', 'bytes transferred', 'bytes'],
];
// A run where Lighthouse could not measure a figure (its error, e.g. NO_LCP)
// leaves it out; how many runs gave it is said where not all did.
const spread = (all, digits) => {
  const values = all.filter(Number.isFinite);
  if (values.length === 0) return 'not measured';
  const shown = (value) => value.toFixed(digits);
  const of = values.length < all.length ? `, ${values.length} of ${all.length} runs` : '';
  return `${shown(median(values))} (${shown(Math.min(...values))} to ${shown(Math.max(...values))}${of})`;
};

const lines = [];
const forms = Object.keys(runs);
lines.push(`| Lighthouse ${runs[forms[0]][0].lighthouseVersion} | ${forms.map((f) => `${f} (n = ${runs[f].length})`).join(' | ')} | Target |`);
lines.push(`|---|${forms.map(() => '---').join('|')}|---|`);
for (const category of categories) {
  const cells = forms.map((form) => spread(runs[form].map((r) => r.categories[category].score === null ? NaN
    : Math.round(r.categories[category].score * 100)), 0));
  lines.push(`| ${runs[forms[0]][0].categories[category].title} score | ${cells.join(' | ')} | ${category === 'performance' ? '–' : '100'} |`);
}
for (const [id, name, unit] of figures) {
  const cells = forms.map((form) => `${spread(runs[form].map((r) => r.audits[id].numericValue ?? NaN), 0)} ${unit}`);
  lines.push(`| ${name} | ${cells.join(' | ')} | – |`);
}
const lost = new Set();
for (const form of forms) {
  for (const report of runs[form]) {
    for (const category of categories.slice(1)) {
      for (const ref of report.categories[category].auditRefs) {
        const audit = report.audits[ref.id];
        if (ref.weight > 0 && audit.score !== null && audit.score < 1) lost.add(`${form}: ${category}: ${ref.id}`);
      }
    }
  }
}
lines.push('', lost.size === 0 ? 'No audit of accessibility, best practices or SEO cost a point in any run.'
  : `Audits that cost points: ${[...lost].join('; ')}.`);
console.log(lines.join('\n'));
