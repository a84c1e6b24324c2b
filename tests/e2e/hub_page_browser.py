#!/usr/bin/python3
"""The hub's page in a real browser: headless Chromium through Selenium, against tarvolin-hub
subscribed to a real mosquitto broker. Each track that publishes has its panel under its id, a track
whose station is offline is greyed, a hostile message changes nothing, and a station that leaves is
greyed without a reload.

Usage: hub_page_browser.py HUB_PROGRAM SANITIZED
Exit code 77 means skipped (sanitizer build, or no browser or broker on this machine)."""

import os
import socket
import subprocess
import sys
import tempfile
import time

SKIP = 77
CHROMIUM = "/usr/bin/chromium"
CHROMEDRIVER = "/usr/bin/chromedriver"
MOSQUITTO = "/usr/sbin/mosquitto"
WAIT = 30

BRNO_STATE = ('{"running":true,"elapsedMs":0,"karts":[{"kart":1,"position":1,"name":"Eva Nováková",'
              '"count":2,"last":"00:31:000","best":"00:30:500","laps":["00:30:500","00:31:000"]}]}')


def free_port():
    with socket.socket(socket.AF_INET, socket.SOCK_STREAM) as s:
        s.bind(("127.0.0.1", 0))
        return s.getsockname()[1]


def wait_for(what, condition, timeout=WAIT):
    end = time.monotonic() + timeout
    while True:
        try:
            value = condition()
        except Exception:  # the page or the port is not there yet
            value = None
        if value:
            return value
        if time.monotonic() > end:
            raise AssertionError("timed out waiting for " + what)
        time.sleep(0.05)


def publish(port, topic, payload, retain=True):
    """One MQTT 3.1.1 PUBLISH at QoS 0 over a connection of its own."""
    def length(n):
        out = b""
        while True:
            byte, n = n % 128, n // 128
            out += bytes([byte | (0x80 if n else 0)])
            if not n:
                return out

    def text(value):
        data = value.encode("utf-8")
        return len(data).to_bytes(2, "big") + data

    with socket.create_connection(("127.0.0.1", port), timeout=10) as s:
        body = text("MQTT") + bytes([4, 2]) + (30).to_bytes(2, "big") + text("hubtest%d" % os.getpid())
        s.sendall(bytes([0x10]) + length(len(body)) + body)
        if s.recv(4)[:1] != b"\x20":
            raise AssertionError("the broker did not take the test's connection")
        payload = payload.encode("utf-8") if isinstance(payload, str) else payload
        body = text(topic) + payload
        s.sendall(bytes([0x30 | (1 if retain else 0)]) + length(len(body)) + body)
        s.sendall(bytes([0xE0, 0]))


def main():
    hub, sanitized = sys.argv[1], sys.argv[2]
    if sanitized.upper() in ("ON", "1", "TRUE", "YES"):
        print("skipped: the browser test runs in the ordinary build only")
        return SKIP
    if not all(os.access(p, os.X_OK) for p in (CHROMIUM, CHROMEDRIVER, MOSQUITTO)):
        print("skipped: no chromium, chromedriver or mosquitto")
        return SKIP
    from selenium import webdriver
    from selenium.webdriver.chrome.service import Service
    from selenium.webdriver.common.by import By

    options = webdriver.ChromeOptions()
    options.binary_location = CHROMIUM
    for argument in ("--headless=new", "--no-sandbox", "--disable-dev-shm-usage", "--disable-gpu"):
        options.add_argument(argument)
    with tempfile.TemporaryDirectory() as folder:
        options.add_argument("--user-data-dir=" + os.path.join(folder, "profile"))
        mqtt_port, web_port = free_port(), free_port()
        config = os.path.join(folder, "mosquitto.conf")
        with open(config, "w") as f:
            f.write("listener %d 127.0.0.1\nallow_anonymous true\nuser root\n" % mqtt_port)
        broker = subprocess.Popen([MOSQUITTO, "-c", config], stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        hub_process = None
        driver = None
        try:
            wait_for("the broker", lambda: socket.create_connection(("127.0.0.1", mqtt_port), timeout=1).close() or True)
            publish(mqtt_port, "tarvolin/brno/online", "1")
            publish(mqtt_port, "tarvolin/brno/state", BRNO_STATE)
            publish(mqtt_port, "tarvolin/ostrava/online", "0")
            publish(mqtt_port, "tarvolin/ostrava/state", '{"running":false,"karts":[]}')
            publish(mqtt_port, "tarvolin/plzen/state", "not json at all")
            hub_process = subprocess.Popen([hub, "--server", "127.0.0.1", "--port", str(mqtt_port),
                                            "--web-port", str(web_port)])
            driver = webdriver.Chrome(service=Service(executable_path=CHROMEDRIVER), options=options)
            wait_for("the hub's page", lambda: driver.get("http://127.0.0.1:%d/" % web_port) or True)
            wait_for("both panels", lambda: len(driver.find_elements(By.CSS_SELECTOR, "section.track")) == 2)
            brno = driver.find_element(By.ID, "trat-brno")
            assert brno.find_element(By.TAG_NAME, "h2").text == "brno"
            assert "offline" not in brno.get_attribute("class").split()
            assert "Eva Nováková" in brno.text and "00:30:500" in brno.text, brno.text
            ostrava = driver.find_element(By.ID, "trat-ostrava")
            assert "offline" in ostrava.get_attribute("class").split()
            assert not driver.find_elements(By.ID, "trat-plzen"), "a track of hostile messages only"
            # A hostile state, then the station leaves (its will): the panel greys without a reload
            # and keeps the last good state.
            driver.execute_script("window.loadedOnce = 'yes';")
            publish(mqtt_port, "tarvolin/brno/state", '{"running":"no","karts":5}', retain=False)
            publish(mqtt_port, "tarvolin/brno/online", "0")
            wait_for("brno greyed", lambda: "offline" in driver.find_element(By.ID, "trat-brno")
                     .get_attribute("class").split())
            assert driver.execute_script("return window.loadedOnce") == "yes"
            assert "Eva Nováková" in driver.find_element(By.ID, "trat-brno").text
            print("hub page: panels, presence and hostile messages as expected")
            return 0
        finally:
            if driver:
                driver.quit()
            for process in (hub_process, broker):
                if process:
                    process.terminate()
                    process.wait(timeout=20)


if __name__ == "__main__":
    sys.exit(main())
