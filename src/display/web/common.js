"use strict";
// What the live page, a kart's view and the history share: building elements, the texts of times
// and gaps, the connection to the station, and the lap chart drawn as inline SVG.
var Tarvolin = (function () {
  var SVG = "http://www.w3.org/2000/svg";
  var COLOURS = ["#c00000", "#0040c0", "#007000", "#000000"];
  var DASHES = ["", "10 5", "3 4", "14 4 3 4"];

  function el(tag, text, cls) {
    var e = document.createElement(tag);
    if (text !== undefined && text !== null) e.textContent = text;
    if (cls) e.className = cls;
    return e;
  }

  function clear(node) { while (node.firstChild) node.removeChild(node.firstChild); }

  function two(n) { return (n < 10 ? "0" : "") + n; }
  function three(n) { return (n < 10 ? "00" : n < 100 ? "0" : "") + n; }

  // Seconds with thousandths, minutes in front from a minute on: "1,234", "1:02,345".
  function seconds(ms) {
    ms = Math.max(0, Math.round(ms));
    var s = Math.floor(ms / 1000);
    var text = (s >= 60 ? Math.floor(s / 60) + ":" + two(s % 60) : String(s)) + "," + three(ms % 1000);
    return text;
  }

  function lapsWord(n) { return n === 1 ? "kolo" : n >= 2 && n <= 4 ? "kola" : "kol"; }

  // "00:31:250" as the station writes lap times, in ms; NaN for anything else.
  function lapMs(text) {
    var m = /^(\d+):(\d{2}):(\d{3})$/.exec(text || "");
    return m ? (+m[1] * 60 + +m[2]) * 1000 + +m[3] : NaN;
  }

  function cumulative(laps) {
    var sums = [], total = 0;
    laps.forEach(function (ms) { total += ms; sums.push(total); });
    return sums;
  }

  // How far a kart is behind one ahead of it, both given as their race times at each lap: in laps
  // when the one ahead had gone round more often by the kart's last lap, else in seconds at the lap
  // both completed.
  function gap(kart, ahead) {
    var n = kart.length;
    if (!n || !ahead.length) return "";
    var t = kart[n - 1];
    var done = 0;
    while (done < ahead.length && ahead[done] <= t) done++;
    if (done - n >= 1) return "+" + (done - n) + " " + lapsWord(done - n);
    if (ahead.length < n) return "";
    return "+" + seconds(t - ahead[n - 1]);
  }

  // The kart's driver when known.
  function kartName(k) { return k.name && k.name !== "kara" + k.kart ? k.name : "Kára " + k.kart; }

  // The push from the station: every message is the whole race, so a reconnect shows the present at
  // once; a heartbeat comes every few seconds, and a silence longer than that is a lost connection.
  // A lost connection is tried again after 1 s, then after ever longer pauses up to 30 s.
  function connect(onRace, onState) {
    var socket = null, lastHeard = 0, pause = 1000, retry = null;
    function setOnline(yes) { onState(yes); }
    function open() {
      retry = null;
      try {
        socket = new WebSocket((location.protocol === "https:" ? "wss://" : "ws://") + location.host + "/live");
      } catch (e) { schedule(); return; }
      socket.onmessage = function (event) {
        lastHeard = performance.now();
        pause = 1000;
        setOnline(true);
        var data;
        try { data = JSON.parse(event.data); } catch (e) { return; }
        if (!data.heartbeat) onRace(data);
      };
      socket.onclose = function () { socket = null; setOnline(false); schedule(); };
    }
    function schedule() {
      if (retry) return;
      retry = setTimeout(open, pause);
      pause = Math.min(30000, pause * 2);
    }
    setInterval(function () {
      if (socket && lastHeard && performance.now() - lastHeard > 8000) {
        lastHeard = 0;
        setOnline(false);
        socket.close();
      }
    }, 1000);
    open();
  }

  function svg(tag, attrs) {
    var e = document.createElementNS(SVG, tag);
    Object.keys(attrs).forEach(function (k) { e.setAttribute(k, attrs[k]); });
    return e;
  }

  // The lap chart: each kart's lap times over the lap numbers, one line per kart, the fastest lap
  // at the top. karts: [{kart, name, lapsMs}]. Laps of 40 ms or less are sensor noise and left out.
  function lapChart(box, karts) {
    clear(box);
    var W = 640, H = 320, L = 70, R = 12, T = 14, B = 40;
    var all = [], most = 0;
    karts.forEach(function (k) {
      most = Math.max(most, k.lapsMs.length);
      k.lapsMs.forEach(function (ms) { if (ms > 40) all.push(ms); });
    });
    if (!all.length) { box.appendChild(el("p", "Zatím žádná kola.")); return; }
    var lo = Math.min.apply(null, all), hi = Math.max.apply(null, all);
    if (hi - lo < 1000) { lo -= 500; hi += 500; }
    var chart = svg("svg", { viewBox: "0 0 " + W + " " + H, class: "chart", role: "img", "aria-label": "Graf kol" });
    function x(i) { return L + (most > 1 ? (i - 1) * (W - L - R) / (most - 1) : (W - L - R) / 2); }
    function y(ms) { return T + (ms - lo) * (H - T - B) / (hi - lo); }
    chart.appendChild(svg("rect", { x: L, y: T, width: W - L - R, height: H - T - B, fill: "#fff", stroke: "#000" }));
    for (var g = 0; g <= 4; g++) {
      var ms = lo + (hi - lo) * g / 4;
      chart.appendChild(svg("line", { x1: L, x2: W - R, y1: y(ms), y2: y(ms), stroke: "#999", "stroke-width": 1 }));
      var label = svg("text", { x: L - 6, y: y(ms) + 6, "text-anchor": "end", "font-size": 16 });
      label.textContent = seconds(ms);
      chart.appendChild(label);
    }
    var step = Math.max(1, Math.ceil(most / 10));
    for (var i = 1; i <= most; i += step) {
      var t = svg("text", { x: x(i), y: H - B + 22, "text-anchor": "middle", "font-size": 16 });
      t.textContent = i;
      chart.appendChild(t);
    }
    var xt = svg("text", { x: W - R, y: H - 4, "text-anchor": "end", "font-size": 15 });
    xt.textContent = "kolo";
    chart.appendChild(xt);
    karts.forEach(function (k) {
      var points = [];
      k.lapsMs.forEach(function (ms, n) { if (ms > 40) points.push(x(n + 1).toFixed(1) + "," + y(ms).toFixed(1)); });
      var c = COLOURS[(k.kart - 1) % 4];
      chart.appendChild(svg("polyline", { points: points.join(" "), fill: "none", stroke: c, "stroke-width": 3,
        "stroke-dasharray": DASHES[(k.kart - 1) % 4], "data-kart": k.kart }));
    });
    box.appendChild(chart);
    var legend = el("ul", undefined, "legend");
    karts.forEach(function (k) {
      var item = el("li", kartName(k));
      item.style.borderColor = COLOURS[(k.kart - 1) % 4];
      legend.appendChild(item);
    });
    box.appendChild(legend);
  }

  return { el: el, clear: clear, two: two, seconds: seconds, lapsWord: lapsWord, lapMs: lapMs,
    cumulative: cumulative, gap: gap, kartName: kartName, connect: connect, lapChart: lapChart };
})();
