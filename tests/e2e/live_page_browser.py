#!/usr/bin/python3
"""The live results page in a real browser: headless Chromium through Selenium, against the station
running a scenario race on its virtual track. The page must be live before the race starts, show
every lap as the station closes it (pushed: the page is never reloaded), its laps must be the
station's, after STOP it shows the best laps in the top ten, the gaps and the best-lap colours, and it
fits a phone's width. A kart's own view, the history of kept races (with races kept before), a race's
results sheet as a PDF, and ids that are no kept race. Then, in a second race, the operator turns the
page off and on in the settings while the race runs: the page says the connection is lost, tries
again by itself after ever longer pauses and, back, shows the race as the station has it.

Usage: live_page_browser.py PROGRAM SOURCE_DIR SANITIZED STATION_WITH_HAND
Exit code 77 means skipped (sanitizer build, or no browser on this machine)."""

import json
import os
import re
import select
import signal
import socket
import subprocess
import sys
import tempfile
import time
import urllib.request

SKIP = 77
CHROMIUM = "/usr/bin/chromium"
CHROMEDRIVER = "/usr/bin/chromedriver"
# Generous: a busy two-core machine may be slow, but a page that is pushed to never waits this long.
WAIT = 30

# The race starts at 6 s, so that the browser is on the page before; the kept laps are compared with
# what the page showed.
SCENARIO = """6000 start
7500 pass 1 300
8300 pass 2 300
9300 pass 1 300
10300 pass 3 300
11300 pass 2 300
12300 pass 1 300
13800 start
"""

# Three karts round by round, a lap every 700 ms, long enough for the page to go down and come back
# while the race runs.
RESTART_SCENARIO = "6000 start\n" + "".join("%d pass %d 200\n" % (7000 + 700 * i, 1 + i % 3) for i in range(48)) \
    + "42000 start\n"

# Records the pauses the page waits before it tries its connection again, and the first race each of
# its connections brought.
WATCH_CONNECTIONS = """
window.retryPauses = [];
window.firstRaces = [];
(function () {
  var later = window.setTimeout, Socket = window.WebSocket;
  window.setTimeout = function (fn, ms) {
    if (fn && fn.name === "open") window.retryPauses.push(ms);
    return later.apply(this, arguments);
  };
  window.WebSocket = function (url) {
    var socket = new Socket(url), n = window.firstRaces.push(null) - 1;
    socket.addEventListener("message", function (event) {
      var data = JSON.parse(event.data);
      if (window.firstRaces[n] === null && !data.heartbeat) window.firstRaces[n] = data;
    });
    return socket;
  };
})();
"""


def free_port():
    with socket.socket(socket.AF_INET, socket.SOCK_STREAM) as s:
        s.bind(("", 0))
        return s.getsockname()[1]


def api(port):
    with urllib.request.urlopen("http://127.0.0.1:%d/api/race" % port, timeout=5) as reply:
        return json.loads(reply.read().decode("utf-8"))


def status_of(port, path):
    try:
        with urllib.request.urlopen("http://127.0.0.1:%d%s" % (port, path), timeout=WAIT) as reply:
            return reply.status, reply.read()
    except urllib.error.HTTPError as error:
        return error.code, error.read()


# Races kept before this one: the history lists them with this race, newest first.
KEPT = {
    "2025-03-01 10-00-00 kara1.txt": ["00:31:000", "00:30:500"],
    "2025-03-01 10-00-00 kara2.txt": ["00:33:000", "00:29:750"],
    "2025-02-01 09-00-00 kara4.txt": ["00:40:000"],
}


def keep_races(data):
    folder = os.path.join(data, "vysledky")
    os.makedirs(folder, exist_ok=True)
    for name, laps in KEPT.items():
        with open(os.path.join(folder, name), "wb") as f:
            f.write("".join(lap + "\r\n" for lap in laps).encode("cp1250"))
    with open(os.path.join(folder, "2025-03-01 10-00-00 jezdci.txt"), "wb") as f:
        f.write("Zuzana Rychlá\r\nPetr\r\n\r\n\r\n".encode("cp1250"))


def lap_ms(text):
    m, s, ms = text.split(":")
    return (int(m) * 60 + int(s)) * 1000 + int(ms)


def expected_gap(behind, ahead):
    """The gap as a timekeeper states it: in laps when the one ahead had gone round more often by the
    kart's last lap, else in seconds at the lap both completed."""
    def sums(laps):
        out, total = [], 0
        for lap in laps:
            total += lap_ms(lap)
            out.append(total)
        return out
    mine, theirs = sums(behind), sums(ahead)
    done = sum(1 for t in theirs if t <= mine[-1])
    down = done - len(mine)
    if down >= 1:
        return "+%d %s" % (down, "kolo" if down == 1 else "kola" if down <= 4 else "kol")
    ms = mine[-1] - theirs[len(mine) - 1]
    return "+%d,%03d" % (ms // 1000, ms % 1000)


def table_texts(driver, selector):
    return driver.execute_script(
        "return Array.prototype.map.call(document.querySelectorAll(arguments[0]),"
        " function (tr) { return Array.prototype.map.call(tr.cells, function (c) { return c.textContent; }); });",
        selector)


def wait_for(what, condition, timeout=WAIT):
    end = time.monotonic() + timeout
    while True:
        value = condition()
        if value:
            return value
        if time.monotonic() > end:
            raise AssertionError("timed out waiting for " + what)
        time.sleep(0.05)


def start_station(program, source_dir, data, hand=False):
    """Starts the station on a free port; tries another when the port was taken meanwhile. With a hand,
    the station takes its commands on standard input (ask)."""
    for _ in range(5):
        port = free_port()
        with open(os.path.join(data, "tarvolin.ini"), "wb") as f:
            f.write(("[Ostatni]\r\nExtStart=1\r\nPrvniKolo=1\r\n[Semafor]\r\nPouzij=0\r\n[HW]\r\nProdleva=500\r\nRizeni=0\r\n"
                     "[Tisk]\r\nLogo=%s/data/Logo/logo.png\r\n[Web]\r\nPouzit=1\r\nPort=%d\r\n"
                     % (source_dir, port)).encode("cp1250"))
        env = dict(os.environ, QT_QPA_PLATFORM="offscreen")
        station = subprocess.Popen([program, "--data", data, "--simulate=" + os.path.join(data, "zavod.txt")],
                                   env=env, stdin=subprocess.PIPE if hand else None,
                                   stdout=subprocess.PIPE if hand else subprocess.DEVNULL,
                                   stderr=subprocess.DEVNULL, text=True)
        end = time.monotonic() + 60
        while time.monotonic() < end and station.poll() is None:
            try:
                api(port)
                return station, port
            except OSError:
                time.sleep(0.05)
        stop_station(station)
    raise AssertionError("the station did not serve its page")


def ask(station, command):
    station.stdin.write(command + "\n")
    station.stdin.flush()
    if not select.select([station.stdout], [], [], WAIT)[0]:
        raise AssertionError("the station did not answer " + command)
    return station.stdout.readline().strip()


def stop_station(station):
    if station.poll() is None:
        station.send_signal(signal.SIGTERM)
        try:
            station.wait(30)
        except subprocess.TimeoutExpired:
            station.kill()
            station.wait()


def page_laps(driver):
    return driver.execute_script(
        "var out = {};"
        "for (var k = 1; k <= 4; ++k) {"
        "  var box = document.getElementById('kara' + k);"
        "  out[k] = box ? Array.prototype.map.call(box.querySelectorAll('li'), function (li) { return li.textContent; }) : [];"
        "}"
        "return out;")


def race_rows(driver):
    return driver.execute_script(
        "return Array.prototype.map.call(document.querySelectorAll('#zavod tbody tr'),"
        " function (tr) { return Array.prototype.map.call(tr.cells, function (c) { return c.textContent; }); });")


def main():
    program, source_dir, sanitized, with_hand = sys.argv[1], sys.argv[2], sys.argv[3], sys.argv[4]
    if sanitized.upper() in ("ON", "1", "TRUE", "YES"):
        print("skipped: the browser test runs in the ordinary build only")
        return SKIP
    if not (os.access(CHROMIUM, os.X_OK) and os.access(CHROMEDRIVER, os.X_OK)):
        print("skipped: no chromium and chromedriver in /usr/bin")
        return SKIP
    from selenium import webdriver
    from selenium.webdriver.chrome.service import Service

    options = webdriver.ChromeOptions()
    options.binary_location = CHROMIUM
    for argument in ("--headless=new", "--no-sandbox", "--disable-dev-shm-usage", "--disable-gpu",
                     "--window-size=420,900"):
        options.add_argument(argument)
    with tempfile.TemporaryDirectory() as data, tempfile.TemporaryDirectory() as profile:
        options.add_argument("--user-data-dir=" + profile)
        with open(os.path.join(data, "zavod.txt"), "w") as f:
            f.write(SCENARIO)
        keep_races(data)
        # The browser first: it is the slow one to start, and the page must be open before the race.
        driver = webdriver.Chrome(service=Service(executable_path=CHROMEDRIVER), options=options)
        station = None
        try:
            station, port = start_station(program, source_dir, data)
            driver.get("http://127.0.0.1:%d/" % port)
            wait_for("the page to go live",
                     lambda: driver.execute_script("return document.body.getAttribute('data-live')") == "1")
            driver.execute_script("window.loadedOnce = 'yes';")
            before = api(port)
            if before["running"] or any(k["count"] for k in before["karts"]):
                raise AssertionError("the page went live only after the race had started; the machine is too slow")
            assert driver.title == "Tarvolin – průběh závodu", driver.title
            # No kart has a lap yet: no time and no count, in the station's API and on the page.
            assert all(k["time"] == "\u2014" and k["lapNumber"] == "" for k in before["karts"]), before["karts"]
            wait_for("the standings without laps",
                     lambda: race_rows(driver) == [[str(i + 1), "Kára %d" % (i + 1), "", "\u2014", "\u2014", "", ""]
                                                   for i in range(4)])

            # Every lap as the station closes it: the page shows the same laps, pushed.
            latencies = []
            seen = 0
            race_end = time.monotonic() + 120
            while True:
                race = api(port)
                count = sum(k["count"] for k in race["karts"])
                if count > seen:
                    closed = time.monotonic()
                    expected = {str(k["kart"]): k["laps"] for k in race["karts"]}
                    wait_for("lap %d on the page" % count,
                             lambda: {str(k): v for k, v in page_laps(driver).items()} == expected
                             or None)
                    latencies.append(time.monotonic() - closed)
                    seen = count
                if not race["running"] and seen >= 6:
                    break
                if station.poll() is not None or time.monotonic() > race_end:
                    raise AssertionError("the race did not come to its end (laps seen: %d)" % seen)
                time.sleep(0.02)
            assert driver.execute_script("return window.loadedOnce") == "yes", "the page was reloaded"
            print("laps seen on the page: %d, from the API to the page: max %.0f ms"
                  % (seen, 1000 * max(latencies)))

            # STOP removes each kart's first lap (PrvniKolo): the station's API and the page follow the
            # lap lists as the STOP left them, kart 3 without a lap, in the station's standings.
            final_laps = {kart: laps[1:] for kart, laps in expected.items()}
            final = wait_for("the laps after STOP in the API",
                             lambda: (lambda race: race if {str(k["kart"]): k["laps"] for k in race["karts"]}
                                      == final_laps else None)(api(port)))
            wait_for("the laps after STOP on the page",
                     lambda: {str(k): v for k, v in page_laps(driver).items()} == final_laps or None)
            assert [k["time"] for k in final["karts"] if k["kart"] == 3] == ["\u2014"], final["karts"]
            order = [[k["position"], "Kára %d" % k["kart"]] for k in final["karts"]]
            wait_for("the standings after STOP", lambda: [row[:2] for row in race_rows(driver)] == order)

            # After STOP the karts' best laps are in the men's top ten.
            best = {k["name"]: k["best"] for k in final["karts"] if k["count"]}
            def top_ten():
                rows = driver.execute_script(
                    "return Array.prototype.map.call(document.querySelectorAll('#jezdci tbody tr'),"
                    " function (tr) { return Array.prototype.map.call(tr.cells, function (c) { return c.textContent; }); });")
                shown = {row[1]: row[2] for row in rows if len(row) == 3}
                return all(shown.get(name) == time_text for name, time_text in best.items()) and rows
            rows = wait_for("the top ten after STOP", top_ten)
            assert len(rows) == 10, rows
            assert driver.execute_script("return document.getElementById('stav').textContent") == "Závod neběží"
            print("top ten after STOP:", rows[:len(best)])

            # On a phone held upright the page, race table included, is no wider than the screen.
            driver.execute_cdp_cmd("Emulation.setDeviceMetricsOverride",
                                   {"width": 390, "height": 844, "deviceScaleFactor": 3, "mobile": True})
            width = driver.execute_script("return document.documentElement.scrollWidth")
            assert width <= 390, "the page is %d px wide on a 390 px phone" % width

            check_standings(driver, final)
            check_kart_view(driver, port, final)
            check_history(driver, port, data)
            stop_station(station)
            station = None
        finally:
            if station:
                stop_station(station)
        try:
            check_restart(driver, with_hand, source_dir)
        finally:
            driver.quit()
    return 0


def check_restart(driver, program, source_dir):
    """The operator turns the page off and on while a race runs; the page comes back by itself."""
    with tempfile.TemporaryDirectory() as data:
        with open(os.path.join(data, "zavod.txt"), "w") as f:
            f.write(RESTART_SCENARIO)
        driver.execute_cdp_cmd("Page.addScriptToEvaluateOnNewDocument", {"source": WATCH_CONNECTIONS})
        station, port = start_station(program, source_dir, data, hand=True)
        try:
            driver.get("http://127.0.0.1:%d/" % port)
            live = lambda: driver.execute_script("return document.body.getAttribute('data-live')")
            wait_for("the page to go live", lambda: live() == "1")
            driver.execute_script("window.loadedOnce = 'yes';")
            wait_for("laps on the page", lambda: sum(len(v) for v in page_laps(driver).values()) >= 2)
            assert ask(station, "web") == "web 0"
            # Down: said at once, and tried again after 1 s, 2 s, 4 s, ...
            wait_for("the page to say the connection is lost", lambda: live() == "0")
            assert driver.execute_script("return document.getElementById('spojeni').textContent") == \
                "Spojení přerušeno"
            wait_for("two tries while the page is down",
                     lambda: len(driver.execute_script("return window.retryPauses")) >= 3)
            shown_down = page_laps(driver)
            down = wait_for("a lap closed while the page is down",
                            lambda: (lambda laps: laps if sum(map(len, laps.values())) >
                                     sum(map(len, shown_down.values())) else None)(json.loads(ask(station, "laps"))))
            assert live() == "0"
            assert ask(station, "web") == "web 1"
            wait_for("the page to come back by itself", lambda: live() == "1")
            pauses = driver.execute_script("return window.retryPauses")
            assert pauses[:3] == [1000, 2000, 4000] and all(b >= a for a, b in zip(pauses, pauses[1:])), pauses
            # At once: the first message of the new connection has every lap closed while it was down.
            first = driver.execute_script("return window.firstRaces[window.firstRaces.length - 1]")
            first_laps = {str(k["kart"]): k["laps"] for k in first["karts"]}
            assert all(first_laps[k][:len(v)] == v for k, v in down.items()), (first_laps, down)
            # Back: the race as the station has it, the laps closed meanwhile included, none twice.
            def same():
                station_laps = json.loads(ask(station, "laps"))
                race = api(port)
                shown = {str(k): v for k, v in page_laps(driver).items()}
                return race["running"] and shown == {str(k["kart"]): k["laps"] for k in race["karts"]} \
                    == station_laps and shown
            shown = wait_for("the page, the API and the station's lap lists to agree", same)
            assert driver.execute_script("return window.loadedOnce") == "yes", "the page was reloaded"
            print("after the page's restart: %d laps, retried after %s ms"
                  % (sum(len(v) for v in shown.values()), pauses))
        finally:
            stop_station(station)


def check_standings(driver, final):
    """The gaps to the leader and to the kart ahead, and the best laps in green and the race's in purple."""
    driver.get(driver.current_url)
    placed = [k for k in final["karts"] if k["count"]]
    rows = wait_for("the standings after reload",
                    lambda: (lambda r: r if len(r) == 4 and r[0][2] else None)(race_rows(driver)))
    for i, kart in enumerate(placed[1:], start=1):
        assert rows[i][5] == expected_gap(kart["laps"], placed[0]["laps"]), (rows[i], placed)
        assert rows[i][6] == expected_gap(kart["laps"], placed[i - 1]["laps"]), (rows[i], placed)
    assert rows[0][5] == "" and rows[0][6] == "", rows[0]
    race_best = min(lap_ms(k["best"]) for k in placed)
    classes = driver.execute_script(
        "return Array.prototype.map.call(document.querySelectorAll('#zavod tbody tr'),"
        " function (tr) { return tr.cells[4].className; });")
    for i, kart in enumerate(placed):
        assert classes[i] == ("rb" if lap_ms(kart["best"]) == race_best else "pb"), (classes, placed)
    print("standings with gaps:", rows)


def check_kart_view(driver, port, final):
    kart = next(k for k in final["karts"] if k["count"])
    driver.get("http://127.0.0.1:%d/kara/%d" % (port, kart["kart"]))
    wait_for("the kart's laps", lambda: [r[1] for r in table_texts(driver, "#kola tbody tr")] == kart["laps"] or None)
    assert driver.execute_script("return document.querySelectorAll('#graf svg polyline').length") == 1
    assert driver.execute_script("return document.body.getAttribute('data-live')") == "1"
    for path in ("/kara/0", "/kara/5", "/kara/1x", "/kara/..%2Ftarvolin.ini"):
        assert status_of(port, path)[0] == 404, path


def check_history(driver, port, data):
    """The list of kept races newest first, one race with its laps, chart and PDF, and hostile ids."""
    driver.get("http://127.0.0.1:%d/" % port)
    wait_for("the link to the history", lambda: driver.find_element("id", "historie"))
    driver.find_element("id", "historie").click()
    rows = wait_for("the history's list",
                    lambda: (lambda r: r if len(r) >= 3 else None)(table_texts(driver, "#zavody tbody tr")))
    ids = driver.execute_script(
        "return Array.prototype.map.call(document.querySelectorAll('#zavody tbody tr'),"
        " function (tr) { return tr.getAttribute('data-id'); });")
    kept_now = sorted({n[:19] for n in os.listdir(os.path.join(data, "vysledky")) if " kara" in n}, reverse=True)
    assert ids == [n.replace(" ", "_") for n in kept_now], (ids, kept_now)
    assert ids[-2:] == ["2025-03-01_10-00-00", "2025-02-01_09-00-00"], ids
    assert rows[-2] == ["1. 3. 2025", "10:00:00", "2", "4", "00:29:750"], rows[-2]
    driver.find_elements("css selector", "#zavody tbody tr a")[len(ids) - 2].click()
    laps = wait_for("the race's laps",
                    lambda: (lambda r: r if len(r) == 3 else None)(table_texts(driver, "#kola tbody tr")))
    assert laps[:2] == [["1", "00:31:000", "00:33:000"], ["2", "00:30:500", "00:29:750"]], laps
    heads = table_texts(driver, "#kola thead tr")[0]
    assert heads == ["Kolo", "Zuzana Rychlá", "Petr"], heads
    assert driver.execute_script("return document.querySelectorAll('#graf svg polyline').length") == 2
    href = driver.find_element("id", "pdf").get_attribute("href")
    assert href.endswith("/zavody/2025-03-01_10-00-00/vysledky.pdf"), href
    status, pdf = status_of(port, "/zavody/2025-03-01_10-00-00/vysledky.pdf")
    assert status == 200 and pdf.startswith(b"%PDF"), (status, pdf[:20])
    # Made once: asked again, the same sheet comes back.
    assert status_of(port, "/zavody/2025-03-01_10-00-00/vysledky.pdf") == (200, pdf)
    with tempfile.NamedTemporaryFile(suffix=".pdf") as f:
        f.write(pdf)
        f.flush()
        text = subprocess.run(["pdftotext", "-layout", f.name, "-"], capture_output=True, check=True).stdout.decode()
    assert "Zuzana Rychlá" in text and re.search(r"29[.,:]750", text), text[:2000]
    for path in ("/zavody/2025-03-01_10-00-01", "/zavody/2025-03-01_10-00-00_2", "/zavody/..%2Ftarvolin.ini",
                 "/zavody/2025-03-01%2010-00-00%20kara1.txt", "/zavody/2025-03-01_10-00-00%00",
                 "/zavody/2025-03-01_10-00-01/vysledky.pdf", "/zavody/..%2F..%2Fetc%2Fpasswd/vysledky.pdf",
                 "/api/zavody/2025-03-01_10-00-01", "/api/zavody/..%2Fvysledky", "/vysledky/2025-03-01%2010-00-00%20kara1.txt",
                 "/tarvolin.ini"):
        assert status_of(port, path)[0] == 404, path


if __name__ == "__main__":
    sys.exit(main())
