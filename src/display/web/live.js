"use strict";
// The station pushes the whole race at every change; the clock ticks here from the race time the
// last message carried, so the page needs no polling.
(function () {
  var T = Tarvolin, el = T.el;
  var state = null;
  var clockBase = 0;     // performance.now() at race time 0
  var places = {};       // kart -> its place at the last message, for showing who moved
  var moved = {};        // kart -> {up, until}
  var lapsBefore = -1;   // all karts' laps at the last message

  function clockText(ms) {
    ms = Math.max(0, Math.floor(ms));
    var s = Math.floor(ms / 1000);
    return T.two(Math.floor(s / 60) % 60) + ":" + T.two(s % 60) + "," + Math.floor((ms % 1000) / 100);
  }

  function tick() {
    if (!state) return;
    var ms = state.running ? performance.now() - clockBase : state.elapsedMs;
    document.getElementById("clock").textContent = clockText(ms);
    var left = document.getElementById("zbyva");
    if (state.raceMinutes > 0 && (state.running || state.elapsedMs > 0)) {
      var rest = state.raceMinutes * 60000 - ms;
      left.textContent = rest > 0 ? "Zbývá " + clockText(rest).slice(0, 5) : "Čas vypršel";
    } else {
      left.textContent = "";
    }
  }

  function fillRows(tbody, rows) {
    T.clear(tbody);
    rows.forEach(function (cells) {
      var tr = el("tr");
      cells.forEach(function (c) { tr.appendChild(el("td", c)); });
      tbody.appendChild(tr);
    });
  }

  // record: the station says the lap would enter its driver's best-twenty table.
  function timeCell(text, ms, own, race, record) {
    var td = el("td", text || "—");
    if (ms && ms === race) td.className = "rb";
    else if (ms && ms === own) td.className = "pb";
    if (ms && record) td.appendChild(el("span", " ★", "record"));
    return td;
  }

  function renderStandings(s) {
    var now = performance.now();
    var total = 0;
    s.karts.forEach(function (k) { total += k.count; });
    // A START empties the lists: places from the race before are no moves.
    if (total < lapsBefore || (s.running && total === 0)) places = {}, moved = {};
    lapsBefore = total;
    var raceBest = 0;
    s.karts.forEach(function (k) {
      var b = T.lapMs(k.best);
      if (b > 0 && (!raceBest || b < raceBest)) raceBest = b;
    });
    var sums = s.karts.map(function (k) { return T.cumulative(k.lapsMs || []); });
    var tbody = document.querySelector("#zavod tbody");
    T.clear(tbody);
    s.karts.forEach(function (k, i) {
      var before = places[k.kart];
      if (before && before !== i + 1 && k.count) moved[k.kart] = { up: i + 1 < before, until: now + 4000 };
      places[k.kart] = i + 1;
      var tr = el("tr");
      tr.setAttribute("data-kart", k.kart);
      var pos = el("td", k.position);
      var move = moved[k.kart];
      if (move && move.until > now) {
        pos.appendChild(el("span", move.up ? " ▲" : " ▼", move.up ? "up" : "down"));
        tr.className = "moved";
      }
      tr.appendChild(pos);
      var name = el("td");
      var link = el("a", T.kartName(k));
      link.href = "/kara/" + k.kart;
      name.appendChild(link);
      tr.appendChild(name);
      tr.appendChild(el("td", k.count ? String(k.count) : ""));
      var own = T.lapMs(k.best);
      tr.appendChild(timeCell(k.last, k.count ? (k.lapsMs || [])[k.count - 1] : 0, own, raceBest, k.lastRecord));
      tr.appendChild(timeCell(k.best, own, own, raceBest, k.bestRecord));
      tr.appendChild(el("td", i === 0 || !k.count ? "" : T.gap(sums[i], sums[0]), "gap"));
      tr.appendChild(el("td", i === 0 || !k.count ? "" : T.gap(sums[i], sums[i - 1]), "gap"));
      tbody.appendChild(tr);
    });
    return raceBest;
  }

  function render(s) {
    state = s;
    clockBase = performance.now() - s.elapsedMs;
    document.getElementById("stav").textContent = s.running ? "Závod běží" : "Závod neběží";
    document.getElementById("vlajka").hidden = !s.flag;
    document.getElementById("delka").textContent = s.raceMinutes > 0 ? "Délka jízdy: " + s.raceMinutes + " min" : "";
    var raceBest = renderStandings(s);
    var laps = document.getElementById("kola");
    T.clear(laps);
    s.karts.slice().sort(function (a, b) { return a.kart - b.kart; }).forEach(function (k) {
      var box = el("div", undefined, "kart");
      box.id = "kara" + k.kart;
      var head = el("h3");
      var link = el("a", T.kartName(k));
      link.href = "/kara/" + k.kart;
      head.appendChild(link);
      box.appendChild(head);
      var list = el("ol");
      var own = T.lapMs(k.best);
      (k.lapsMs || []).forEach(function (ms, n) {
        list.appendChild(el("li", k.laps[n], ms === raceBest ? "rb" : ms === own ? "pb" : ""));
      });
      box.appendChild(list);
      laps.appendChild(box);
    });
    fillRows(document.querySelector("#jezdci tbody"), s.men.map(function (r) { return [r.rank, r.name, r.time]; }));
    fillRows(document.querySelector("#jezdkyne tbody"), s.women.map(function (r) { return [r.rank, r.name, r.time]; }));
    tick();
  }

  function online(yes) {
    var mark = document.getElementById("spojeni");
    mark.textContent = yes ? "Živě" : "Spojení přerušeno";
    mark.className = yes ? "online" : "offline";
    document.body.setAttribute("data-live", yes ? "1" : "0");
  }

  setInterval(tick, 100);
  // A moved kart's arrow goes again after a while, without waiting for the next lap.
  setInterval(function () { if (state) renderStandings(state); }, 1000);
  T.connect(render, online);
})();
