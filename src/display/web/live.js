"use strict";
// The station pushes the whole race at every change; the clock ticks here from the race time the
// last message carried, so the page needs no polling.
(function () {
  var state = null;
  var clockBase = 0; // performance.now() at race time 0
  var socket = null;

  function el(tag, text, cls) {
    var e = document.createElement(tag);
    if (text !== undefined) e.textContent = text;
    if (cls) e.className = cls;
    return e;
  }

  function two(n) { return (n < 10 ? "0" : "") + n; }

  function clockText(ms) {
    ms = Math.max(0, Math.floor(ms));
    var s = Math.floor(ms / 1000);
    return two(Math.floor(s / 60) % 60) + ":" + two(s % 60) + "," + Math.floor((ms % 1000) / 100);
  }

  function tick() {
    if (!state) return;
    var ms = state.running ? performance.now() - clockBase : state.elapsedMs;
    document.getElementById("clock").textContent = clockText(ms);
  }

  function fillRows(tbody, rows) {
    while (tbody.firstChild) tbody.removeChild(tbody.firstChild);
    rows.forEach(function (cells) {
      var tr = el("tr");
      cells.forEach(function (c) { tr.appendChild(el("td", c)); });
      tbody.appendChild(tr);
    });
  }

  // The driver's name when the station knows it.
  function kartName(k) { return k.name && k.name !== "kara" + k.kart ? k.name : "Kára " + k.kart; }

  function render(s) {
    state = s;
    clockBase = performance.now() - s.elapsedMs;
    document.getElementById("stav").textContent = s.running ? "Závod běží" : "Závod neběží";
    document.getElementById("vlajka").hidden = !s.flag;
    document.getElementById("delka").textContent = "Délka jízdy: " + s.raceMinutes + " min";
    // The standings as the station ranks them; a kart without a lap has no count and no times.
    fillRows(document.querySelector("#zavod tbody"), s.karts.map(function (k) {
      return [k.position, kartName(k), k.count ? String(k.count) : "", k.last || "—", k.best || "—"];
    }));
    var laps = document.getElementById("kola");
    while (laps.firstChild) laps.removeChild(laps.firstChild);
    s.karts.slice().sort(function (a, b) { return a.kart - b.kart; }).forEach(function (k) {
      var box = el("div", undefined, "kart");
      box.id = "kara" + k.kart;
      box.appendChild(el("h3", kartName(k)));
      var list = el("ol");
      k.laps.forEach(function (t) { list.appendChild(el("li", t, t === k.best ? "best" : "")); });
      box.appendChild(list);
      laps.appendChild(box);
    });
    fillRows(document.querySelector("#jezdci tbody"), s.men.map(function (r) { return [r.rank, r.name, r.time]; }));
    fillRows(document.querySelector("#jezdkyne tbody"), s.women.map(function (r) { return [r.rank, r.name, r.time]; }));
    tick();
  }

  function online(yes) {
    var mark = document.getElementById("spojeni");
    mark.textContent = yes ? "Živě" : "Spojení přerušeno, připojuji znovu…";
    mark.className = yes ? "online" : "offline";
    document.body.setAttribute("data-live", yes ? "1" : "0");
  }

  function connect() {
    socket = new WebSocket((location.protocol === "https:" ? "wss://" : "ws://") + location.host + "/live");
    socket.onopen = function () { online(true); };
    socket.onmessage = function (event) {
      try { render(JSON.parse(event.data)); } catch (e) { /* a broken message waits for the next one */ }
    };
    socket.onclose = function () {
      online(false);
      setTimeout(connect, 2000);
    };
  }

  setInterval(tick, 100);
  connect();
})();
