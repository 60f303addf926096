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
const spread = (values, digits) => {
  const shown = (value) => value.toFixed(digits);
  return `${shown(median(values))} (${shown(Math.min(...values))} to ${shown(Math.max(...values))})`;
};

const lines = [];
const forms = Object.keys(runs);
lines.push(`| Lighthouse ${runs[forms[0]][0].lighthouseVersion} | ${forms.map((f) => `${f} (n = ${runs[f].length})`).join(' | ')} | Target |`);
lines.push(`|---|${forms.map(() => '---').join('|')}|---|`);
for (const category of categories) {
  const cells = forms.map((form) => spread(runs[form].map((r) => Math.round(r.categories[category].score * 100)), 0));
  lines.push(`| ${runs[forms[0]][0].categories[category].title} score | ${cells.join(' | ')} | ${category === 'performance' ? '–' : '100'} |`);
}
for (const [id, name, unit] of figures) {
  const cells = forms.map((form) => `${spread(runs[form].map((r) => r.audits[id].numericValue), 0)} ${unit}`);
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
