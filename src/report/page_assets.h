#pragma once

// The fixed parts of the report page: its style sheet and its two scripts.

namespace report {

// Runs first: counts every script error of the page into the attribute
// data-errors of the root element (and keeps the last message), so that a
// reader, or a test, sees them in the page itself.
inline constexpr const char* kErrorRecorder = R"JS(
(function () {
  var root = document.documentElement;
  root.setAttribute('data-errors', '0');
  function note(message) {
    root.setAttribute('data-errors', String(+root.getAttribute('data-errors') + 1));
    root.setAttribute('data-last-error', String(message));
  }
  window.addEventListener('error', function (e) { note(e.message); });
  window.addEventListener('unhandledrejection', function (e) { note(e.reason); });
})();
)JS";

inline constexpr const char* kStyle = R"CSS(
* { box-sizing: border-box; }
body { margin: 0; font: 14px/1.4 system-ui, sans-serif; color: #222; background: #f4f4f2; }
header { padding: 10px 18px; background: #fff; border-bottom: 1px solid #ddd; }
h1 { font-size: 19px; margin: 0 0 6px; }
h1 span { font-weight: normal; color: #555; }
h2 { font-size: 16px; margin: 10px 0 4px; }
h3 { font-size: 14px; margin: 10px 0 4px; }
.summary { display: flex; flex-wrap: wrap; gap: 4px 36px; align-items: flex-start; }
.summary table { border-collapse: collapse; }
.summary th { text-align: left; font-weight: 600; padding: 1px 14px 1px 0; }
.summary td { padding: 1px 14px 1px 0; }
.summary td.n { text-align: right; }
.note { color: #555; font-size: 12px; margin: 4px 0 0; }
main { display: flex; gap: 10px; padding: 10px; align-items: flex-start; }
#map { flex: 3 1 560px; margin: 0; background: #fff; border: 1px solid #ddd; }
#map svg { display: block; width: 100%; height: auto; max-height: 88vh; }
.view-switch { padding: 5px 10px; border-bottom: 1px solid #eee; }
.view-switch label { margin-right: 14px; }
aside { flex: 2 1 340px; height: 92vh; display: flex; flex-direction: column;
        background: #fff; border: 1px solid #ddd; }
.lists { flex: 0 1 auto; max-height: 40%; overflow: auto; padding: 0 12px 8px; }
.details { flex: 1 1 auto; overflow: auto; padding: 0 12px 12px; }
#plan { cursor: grab; }
.sector { fill: #f6f3ea; stroke: #c9c2ad; }
.sector-name, .point-name, .scale-label, .north-label { font-size: 15px; fill: #444; }
.rack { fill: #a3aab3; }
.corridor { stroke: #7ea6c8; stroke-width: 1.2; stroke-dasharray: 6 4; }
.exit { fill: #f1c232; stroke: #7f6000; }
.start { fill: #2e9e44; }
.end { fill: #c0392b; }
.scale line, .north path { fill: none; stroke: #222; stroke-width: 2; }
.walk { fill: none; stroke-width: 2; stroke-linecap: round; stroke-linejoin: round;
        opacity: 0.5; cursor: pointer; }
.recorded .walk { stroke: #c25400; stroke-dasharray: 5 3; }
.has-sel .walk { opacity: 0.08; }
.has-sel .walk.sel { opacity: 1; stroke-width: 3.5; }
.stops { display: none; }
.stops.sel { display: inline; }
.stops circle { fill: #fff; stroke: #111; stroke-width: 1.5; }
.stops text { font-size: 10px; font-weight: 700; paint-order: stroke;
              stroke: #fff; stroke-width: 3px; }
body[data-view="plan"] .recorded, body[data-view="recorded"] .planned { display: none; }
table.list, .detail table { border-collapse: collapse; width: 100%; }
.list th, .list td { padding: 2px 6px; text-align: right; border-bottom: 1px solid #eee; }
.list th:first-child, .list td:first-child { text-align: left; }
.list tr.sel { background: #ffe7a0; }
.list a { color: #0b5cad; }
.detail { border-top: 2px solid #333; }
.detail th, .detail td { padding: 1px 6px; text-align: left; }
.detail tbody { border-top: 1px solid #ddd; }
.detail td:first-child { font-weight: 700; }
.shelves li { margin-bottom: 3px; }
)CSS";

// Selection: the fragment names the selected walk ("#cart-3" for planned
// cart 3, "#rec-17" for recorded cart 17); selecting highlights its walk,
// shows its stops, list row and pick list, and fades every other walk. The
// radio buttons show the plan, the recorded walks, or both.
inline constexpr const char* kScript = R"JS(
(function () {
  'use strict';
  var body = document.body;
  var parts = ['walk-', 'stops-', 'row-'];
  var current = '';
  function el(id) { return document.getElementById(id); }
  function setView(view) {
    body.setAttribute('data-view', view);
    var radio = document.querySelector('input[name="view"][value="' + view + '"]');
    if (radio) radio.checked = true;
  }
  function select(key) {
    if (current) {
      parts.forEach(function (p) { el(p + current).classList.remove('sel'); });
      el('detail-' + current).hidden = true;
    }
    current = key && el('walk-' + key) ? key : '';
    body.classList.toggle('has-sel', current !== '');
    if (!current) return;
    parts.forEach(function (p) { el(p + current).classList.add('sel'); });
    var walk = el('walk-' + current);
    walk.parentNode.appendChild(walk);
    el('detail-' + current).hidden = false;
    var recorded = current.indexOf('rec-') === 0;
    if (body.getAttribute('data-view') === (recorded ? 'plan' : 'recorded')) {
      setView('both');
    }
    showRow(el('row-' + current));
    el('detail-' + current).parentNode.scrollTop = 0;
  }
  // Scrolls the cart list, and only it, to the row.
  function showRow(row) {
    var pane = row.closest('.lists');
    var top = row.getBoundingClientRect().top - pane.getBoundingClientRect().top;
    if (top < 0 || top > pane.clientHeight - row.offsetHeight) {
      pane.scrollTop += top - pane.clientHeight / 3;
    }
  }
  document.querySelectorAll('input[name="view"]').forEach(function (radio) {
    radio.addEventListener('change', function () { setView(radio.value); });
  });
  // Zoom with the wheel around the pointer, drag to move, double-click for
  // the whole plan; a click on a walk selects it.
  var plan = el('plan');
  var whole = plan.getAttribute('viewBox');
  var box = whole.split(' ').map(Number);
  var drag = null;
  function show() { plan.setAttribute('viewBox', box.join(' ')); }
  function planPoint(event) {
    var r = plan.getBoundingClientRect();
    return [box[0] + (event.clientX - r.left) / r.width * box[2],
            box[1] + (event.clientY - r.top) / r.height * box[3]];
  }
  plan.addEventListener('wheel', function (event) {
    event.preventDefault();
    var p = planPoint(event), f = event.deltaY < 0 ? 0.8 : 1.25;
    box = [p[0] - (p[0] - box[0]) * f, p[1] - (p[1] - box[1]) * f,
           box[2] * f, box[3] * f];
    show();
  }, { passive: false });
  plan.addEventListener('mousedown', function (event) {
    drag = { x: event.clientX, y: event.clientY, moved: false };
  });
  window.addEventListener('mousemove', function (event) {
    if (!drag) return;
    var r = plan.getBoundingClientRect();
    box[0] -= (event.clientX - drag.x) / r.width * box[2];
    box[1] -= (event.clientY - drag.y) / r.height * box[3];
    drag.moved = drag.moved || event.clientX !== drag.x || event.clientY !== drag.y;
    drag.x = event.clientX;
    drag.y = event.clientY;
    show();
  });
  window.addEventListener('mouseup', function () {
    setTimeout(function () { drag = null; }, 0);
  });
  plan.addEventListener('dblclick', function () {
    box = whole.split(' ').map(Number);
    show();
  });
  plan.addEventListener('click', function (event) {
    var key = event.target.getAttribute('data-key');
    if (key && !(drag && drag.moved)) location.hash = key;
  });
  function fragment() {
    try {
      return decodeURIComponent(location.hash.slice(1));
    } catch (e) {
      return '';  // not a key of this page
    }
  }
  window.addEventListener('hashchange', function () { select(fragment()); });
  select(fragment());
  body.setAttribute('data-ready', 'yes');
})();
)JS";

}  // namespace report
