# The flip-book page in headless Chromium: Start runs through the numbered pictures,
# "Heen en weer" turns round at both ends, Stop halts, the step buttons move by one.
# Usage: flipbook_check.py PAGE PROFILE_FOLDER (the page shows tekening10 .. tekening13).
import sys
import time

from selenium import webdriver
from selenium.webdriver.chrome.options import Options
from selenium.webdriver.chrome.service import Service
from selenium.webdriver.common.by import By

page, profile = sys.argv[1], sys.argv[2]
options = Options()
options.binary_location = "/usr/bin/chromium"
for argument in ("--headless", "--no-sandbox", "--disable-gpu", "--disable-dev-shm-usage",
                 "--disable-background-networking", "--disable-component-update",
                 "--disable-sync", "--no-first-run", "--user-data-dir=" + profile):
    options.add_argument(argument)
driver = webdriver.Chrome(service=Service("/usr/bin/chromedriver"), options=options)
try:
    driver.set_page_load_timeout(30)
    driver.get("file://" + page)

    def number():
        name = driver.execute_script("return document.images['film'].src").rsplit("/", 1)[1]
        return int(name[len("tekening"):-len(".gif")])

    def press(value):
        driver.find_element(By.CSS_SELECTOR, 'input[value="%s"]' % value).click()

    # Every change of the picture, in order.
    driver.execute_script(
        "window.shown = [];"
        "new MutationObserver(() => window.shown.push(document.images['film'].src))"
        ".observe(document.images['film'], {attributes: true, attributeFilter: ['src']});")

    def shown():
        names = driver.execute_script("return window.shown.splice(0)")
        return [int(n.rsplit("/", 1)[1][len("tekening"):-len(".gif")]) for n in names]

    assert number() == 10, number()
    press("Start")
    time.sleep(1.5)
    press("Stop")
    run = shown()
    steps = [b - a for a, b in zip(run, run[1:]) if b != a]
    assert set(range(10, 14)) <= set(run), run
    assert all(abs(s) == 1 for s in steps), run
    # Back and forth: turns at 13 and at 10, never past them.
    assert any(run[i] == 13 and run[i + 1] == 12 for i in range(len(run) - 1)), run
    assert any(run[i] == 10 and run[i + 1] == 11 for i in range(1, len(run) - 1)), run
    assert min(run) == 10 and max(run) == 13, run

    halted = number()
    time.sleep(0.4)
    assert number() == halted and shown() == [], "Stop did not halt the show"

    press(" << ")
    assert number() == 10
    press(" > ")
    assert number() == 11
    press(" > ")
    assert number() == 12
    press(" < ")
    assert number() == 11
    press(" >> ")
    assert number() == 13
    press(" > ")
    assert number() == 13, "stepping past the last picture"

    # Without "Heen en weer" the show starts over after the last picture.
    driver.find_element(By.ID, "keus").click()
    shown()
    press("Start")
    time.sleep(0.8)
    press("Stop")
    run = shown()
    assert any(run[i] == 13 and run[i + 1] == 10 for i in range(len(run) - 1)), run
    print("OK")
finally:
    driver.quit()
