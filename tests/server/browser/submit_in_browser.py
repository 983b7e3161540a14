#!/usr/bin/env python3
"""A child's submission in a real browser: Debian's Chromium, headless, driven by Selenium.

Starts sumdash-server on a free loopback port with its data in a temporary folder, asks the
game's own code (the game-link program) for the address the results window opens, follows it
to the confirmation page, presses the button, and finds the new entry marked on the board.
Looks at the moderators' page too. A screenshot of each page, at a phone's size and at a
classroom projector's, goes to the screenshot folder.
"""
import argparse
import base64
import os
import re
import shutil
import subprocess
import sys
import tempfile
import time

from selenium import webdriver
from selenium.webdriver.chrome.service import Service
from selenium.webdriver.common.by import By
from selenium.webdriver.support import expected_conditions
from selenium.webdriver.support.ui import WebDriverWait

PASSWORD = "correct horse battery"
PHONE = (390, 844)
PROJECTOR = (1280, 800)


def start_server(program, folder):
    password = os.path.join(folder, "password")
    with open(password, "w", encoding="utf-8") as file:
        file.write(PASSWORD + "\n")
    server = subprocess.Popen(
        [program, "--listen", "127.0.0.1:0", "--data", os.path.join(folder, "data"),
         "--admin-password-file", password, "--title", "Room 4 Scores"],
        stdout=subprocess.PIPE, text=True)
    deadline = time.monotonic() + 60
    while time.monotonic() < deadline:
        line = server.stdout.readline()
        if not line:
            break
        found = re.search(r"listening on (http://127\.0\.0\.1:\d+)/", line)
        if found:
            return server, found.group(1)
    server.kill()
    sys.exit("sumdash-server did not say where it listens")


def browser(folder):
    options = webdriver.ChromeOptions()
    options.binary_location = "/usr/bin/chromium"
    options.add_argument("--headless=new")
    options.add_argument("--no-sandbox")  # CI runs as root, where Chromium's sandbox cannot
    options.add_argument("--disable-dev-shm-usage")
    options.add_argument("--user-data-dir=" + os.path.join(folder, "chromium"))
    options.set_capability("goog:loggingPrefs", {"browser": "ALL"})
    return webdriver.Chrome(service=Service("/usr/bin/chromedriver"), options=options)


def shoot(driver, folder, name, size):
    driver.set_window_size(*size)
    driver.save_screenshot(os.path.join(folder, f"{name}-{size[0]}x{size[1]}.png"))


def check(condition, words):
    if not condition:
        sys.exit("FAIL: " + words)
    print("ok -", words)


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--server", required=True)
    parser.add_argument("--game-link", required=True)
    parser.add_argument("--screenshots", required=True)
    arguments = parser.parse_args()
    os.makedirs(arguments.screenshots, exist_ok=True)
    folder = tempfile.mkdtemp(prefix="sumdash-browser-")
    server, address = start_server(arguments.server, folder)
    driver = None
    try:
        link = subprocess.run([arguments.game_link, address, "Zoë <b>", "3", "2:47"],
                              check=True, capture_output=True, text=True).stdout.strip()
        check(link.startswith(address + "/cgi-bin/submit.pl?"), "the game's link names the server")
        driver = browser(folder)
        driver.set_window_size(*PHONE)
        driver.get(link)
        question = driver.find_element(By.CSS_SELECTOR, "p.question").text
        check(question == "Post 2:47 in Multiplication as Zoë <b>?", "the page asks: " + question)
        # The style sheet came through the page's own policy: the button is styled.
        button = driver.find_element(By.CSS_SELECTOR, "form button")
        check(button.value_of_css_property("background-color") != "rgba(0, 0, 0, 0)",
              "the style sheet applies")
        shoot(driver, arguments.screenshots, "confirmation", PHONE)
        shoot(driver, arguments.screenshots, "confirmation", PROJECTOR)

        driver.set_window_size(*PHONE)
        button = driver.find_element(By.CSS_SELECTOR, "form button")
        button.click()
        WebDriverWait(driver, 30).until(expected_conditions.url_contains("toptimes.pl"))
        marked = driver.find_element(By.CSS_SELECTOR, "tr.mark").text
        check("Zoë <b>" in marked and "2:47" in marked, "the board marks the new time: " + marked)
        shoot(driver, arguments.screenshots, "board", PHONE)
        shoot(driver, arguments.screenshots, "board", PROJECTOR)

        driver.get(address + "/cgi-bin/toptimes.pl")
        shoot(driver, arguments.screenshots, "every-board", PHONE)
        shoot(driver, arguments.screenshots, "every-board", PROJECTOR)
        for page in ("", "sumdash.htm", "contact.htm"):
            driver.get(f"{address}/{page}")
            check("Room 4 Scores" in driver.page_source, f"/{page} carries the site's title")
            shoot(driver, arguments.screenshots, "page-" + (page.split(".")[0] or "index"), PHONE)

        # The moderators' page, with the password as a browser sends it once asked (Basic).
        credentials = base64.b64encode(("moderator:" + PASSWORD).encode()).decode()
        driver.execute_cdp_cmd("Network.enable", {})
        driver.execute_cdp_cmd("Network.setExtraHTTPHeaders",
                               {"headers": {"Authorization": "Basic " + credentials}})
        driver.get(address + "/admin")
        check("Zoë &lt;b&gt;" in driver.page_source,
              "the moderators' page lists the time: " + driver.title)
        shoot(driver, arguments.screenshots, "admin", PROJECTOR)

        problems = [entry for entry in driver.get_log("browser") if entry["level"] == "SEVERE"
                    and "favicon" not in entry["message"]]
        check(not problems, "no page broke its own policy: " + repr(problems))
    finally:
        if driver:
            driver.quit()
        server.terminate()
        server.wait(30)
        shutil.rmtree(folder, ignore_errors=True)


if __name__ == "__main__":
    main()
