"use strict";
// One kart's view of the live race: its place, its laps and its lap chart.
(function () {
  var T = Tarvolin, el = T.el;
  var kart = +(/\/kara\/([1-4])$/.exec(location.pathname) || [0, 0])[1];

  function render(s) {
    var k = null;
    s.karts.forEach(function (c) { if (c.kart === kart) k = c; });
    if (!k) return;
    document.getElementById("jmeno").textContent = T.kartName(k);
    document.title = "Tarvolin – " + T.kartName(k);
    document.getElementById("misto").textContent = k.count ? "Pořadí: " + k.position + ". · kol: " + k.count : "Zatím bez kola";
    var tbody = document.querySelector("#kola tbody");
    T.clear(tbody);
    var best = T.lapMs(k.best);
    (k.lapsMs || []).forEach(function (ms, n) {
      var tr = el("tr", undefined, ms === best ? "pb" : "");
      tr.appendChild(el("td", String(n + 1)));
      tr.appendChild(el("td", k.laps[n]));
      tbody.appendChild(tr);
    });
    T.lapChart(document.getElementById("graf"), [{ kart: k.kart, name: k.name, lapsMs: k.lapsMs || [] }]);
  }

  function online(yes) {
    var mark = document.getElementById("spojeni");
    mark.textContent = yes ? "Živě" : "Spojení přerušeno";
    mark.className = yes ? "online" : "offline";
    document.body.setAttribute("data-live", yes ? "1" : "0");
  }

  T.connect(render, online);
})();
