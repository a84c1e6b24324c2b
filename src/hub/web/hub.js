"use strict";
// Every track's panel from the hub's JSON, read once a second; everything is set as text.
(function () {
  function el(tag, text, cls) {
    var e = document.createElement(tag);
    if (text !== undefined) e.textContent = String(text);
    if (cls) e.className = cls;
    return e;
  }

  function kartName(k) { return k.name && k.name !== "kara" + k.kart ? k.name : "Kára " + k.kart; }

  function panel(t) {
    var box = el("section", undefined, t.online ? "track" : "track offline");
    box.id = "trat-" + t.id;
    box.appendChild(el("h2", t.id));
    var s = t.state || {};
    box.appendChild(el("div", !t.online ? "Stanice není připojena" : (s.running ? "Závod běží" : "Závod neběží"), "status"));
    var table = el("table");
    var head = el("tr");
    ["#", "Kára", "Kola", "Poslední kolo", "Nejlepší kolo"].forEach(function (h) { head.appendChild(el("th", h)); });
    table.appendChild(head);
    (Array.isArray(s.karts) ? s.karts : []).forEach(function (k) {
      var tr = el("tr");
      [k.position, kartName(k), k.count || "", k.last || "—", k.best || "—"].forEach(function (c) {
        tr.appendChild(el("td", c === undefined || c === null ? "" : c));
      });
      table.appendChild(tr);
    });
    box.appendChild(table);
    return box;
  }

  function render(data) {
    var main = document.getElementById("trate");
    while (main.firstChild) main.removeChild(main.firstChild);
    (data.tracks || []).forEach(function (t) { main.appendChild(panel(t)); });
  }

  function poll() {
    fetch("/api/hub", { cache: "no-store" }).then(function (r) { return r.json(); }).then(function (data) {
      render(data);
      var mark = document.getElementById("spojeni");
      mark.textContent = "Živě";
      mark.className = "online";
    }).catch(function () {
      var mark = document.getElementById("spojeni");
      mark.textContent = "Spojení přerušeno, připojuji znovu…";
      mark.className = "offline";
    }).then(function () { setTimeout(poll, 1000); });
  }

  poll();
})();
