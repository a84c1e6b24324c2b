"use strict";
// The races kept at the station: the list ("/zavody"), a page at a time, and one race
// ("/zavody/<id>") with its laps per kart, its lap chart and its results sheet.
(function () {
  var T = Tarvolin, el = T.el;

  function load(url, done) {
    var request = new XMLHttpRequest();
    request.open("GET", url);
    request.onload = function () {
      if (request.status === 200) done(JSON.parse(request.responseText));
      else document.querySelector("main").insertBefore(el("p", "Závod se nepodařilo načíst."), null);
    };
    request.onerror = function () { document.querySelector("main").appendChild(el("p", "Stanice neodpovídá.")); };
    request.send();
  }

  function list(from) {
    load("/api/zavody?od=" + from, function (page) {
      document.getElementById("pocet").textContent = page.total ? "Uložených závodů: " + page.total : "Žádný závod zatím není uložen.";
      var tbody = document.querySelector("#zavody tbody");
      page.races.forEach(function (r) {
        var tr = el("tr");
        tr.setAttribute("data-id", r.id);
        var date = el("td");
        var link = el("a", r.date);
        link.href = "/zavody/" + r.id;
        date.appendChild(link);
        tr.appendChild(date);
        tr.appendChild(el("td", r.time));
        tr.appendChild(el("td", String(r.karts)));
        tr.appendChild(el("td", String(r.laps)));
        tr.appendChild(el("td", r.best || "—"));
        tbody.appendChild(tr);
      });
      var more = document.getElementById("starsi");
      var next = page.from + page.races.length;
      more.hidden = next >= page.total;
      more.onclick = function () { more.hidden = true; list(next); };
    });
  }

  function race(id) {
    load("/api/zavody/" + id, function (r) {
      document.getElementById("nadpis").textContent = "Závod " + r.date + " " + r.time;
      document.title = "Tarvolin – závod " + r.date + " " + r.time;
      document.getElementById("pdf").href = "/zavody/" + r.id + "/vysledky.pdf";
      var head = document.querySelector("#kola thead tr");
      var most = 0, raceBest = 0;
      r.karts.forEach(function (k) {
        head.appendChild(el("th", T.kartName(k)));
        most = Math.max(most, k.lapsMs.length);
        var b = T.lapMs(k.best);
        if (b > 0 && (!raceBest || b < raceBest)) raceBest = b;
      });
      var tbody = document.querySelector("#kola tbody");
      for (var n = 0; n < most; n++) {
        var tr = el("tr");
        tr.appendChild(el("td", String(n + 1)));
        r.karts.forEach(function (k) {
          var ms = k.lapsMs[n];
          var best = T.lapMs(k.best);
          tr.appendChild(el("td", n < k.laps.length ? k.laps[n] : "", ms === raceBest ? "rb" : ms === best ? "pb" : ""));
        });
        tbody.appendChild(tr);
      }
      var bests = el("tr", undefined, "sum");
      bests.appendChild(el("th", "Nejlepší"));
      r.karts.forEach(function (k) { bests.appendChild(el("th", k.best || "—")); });
      tbody.appendChild(bests);
      T.lapChart(document.getElementById("graf"), r.karts);
    });
  }

  var match = /^\/zavody\/([0-9_-]+)$/.exec(location.pathname);
  if (match) race(match[1]);
  else list(0);
})();
