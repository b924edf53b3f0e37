#!/usr/bin/env python3
"""Writes the bundled sample web-server log (Apache combined format).

Six weeks of visits to a small software company's site: visitors from many
hosts and countries, entry from search engines (with queries), other sites
and bookmarks, a range of browsers and systems, a few robots, logged-in
members, redirects (301, 302), cached answers (304) and failures (401, 403,
404, 500). The output depends only on the seed, so every build bundles the
same file.

usage: make_sample_log.py OUTPUT
"""

import datetime
import random
import sys

SEED = 20250901
FIRST_DAY = datetime.date(2025, 9, 1)
DAYS = 42
TIMEZONE = "+0100"
SITE = "http://www.example.com"

# (path, size in bytes, embedded resources)
PAGES = [
    ("/", 8420, ["/css/site.css", "/js/site.js", "/img/logo.png"]),
    ("/index.html", 8420, ["/css/site.css", "/js/site.js", "/img/logo.png"]),
    ("/products/", 6120, ["/css/site.css", "/img/logo.png", "/img/products.jpg"]),
    ("/products/logviewer.html", 11230, ["/css/site.css", "/img/logo.png", "/img/screenshot1.png"]),
    ("/products/reportkit.html", 9870, ["/css/site.css", "/img/logo.png", "/img/screenshot2.png"]),
    ("/products/pricing.html", 5410, ["/css/site.css", "/img/logo.png"]),
    ("/download/", 4310, ["/css/site.css", "/img/logo.png"]),
    ("/support/", 5120, ["/css/site.css", "/img/logo.png"]),
    ("/support/faq.html", 15320, ["/css/site.css", "/img/logo.png"]),
    ("/support/install.html", 12110, ["/css/site.css", "/img/logo.png", "/img/install.gif"]),
    ("/support/search.php", 3920, ["/css/site.css"]),
    ("/blog/", 7650, ["/css/site.css", "/img/logo.png"]),
    ("/blog/2025/09/release-2-0.html", 9320, ["/css/site.css", "/img/logo.png", "/img/release.png"]),
    ("/blog/2025/09/log-formats.html", 13400, ["/css/site.css", "/img/logo.png"]),
    ("/blog/2025/10/dns-caching.html", 10980, ["/css/site.css", "/img/logo.png"]),
    ("/about/", 4020, ["/css/site.css", "/img/logo.png", "/img/team.jpg"]),
    ("/about/contact.html", 3380, ["/css/site.css", "/img/logo.png"]),
    ("/members/", 6210, ["/css/site.css", "/img/logo.png"]),
]
PAGE_WEIGHTS = [9, 12, 6, 8, 6, 5, 5, 4, 6, 4, 2, 4, 3, 3, 2, 2, 2, 0]

RESOURCE_SIZES = {
    "/css/site.css": 4210,
    "/js/site.js": 18330,
    "/img/logo.png": 3120,
    "/img/products.jpg": 48210,
    "/img/screenshot1.png": 132500,
    "/img/screenshot2.png": 118420,
    "/img/install.gif": 22140,
    "/img/release.png": 64320,
    "/img/team.jpg": 88100,
}

DOWNLOADS = [
    ("/download/logviewer-2.0.zip", 4812330),
    ("/download/logviewer-2.0.tar.gz", 3920110),
    ("/download/reportkit-1.4.zip", 2210400),
    ("/download/manual.pdf", 1320500),
]

# Requests that end in a redirect: (path, status, target)
REDIRECTS = [
    ("/blog", 301, "/blog/"),
    ("/products", 301, "/products/"),
    ("/old/logviewer.html", 301, "/products/logviewer.html"),
    ("/download/latest", 302, "/download/logviewer-2.0.zip"),
    ("/login", 302, "/members/"),
]

# Requests that fail: (path, status)
FAILURES = [
    ("/favicon.ico", 404),
    ("/old/pricing.html", 404),
    ("/wp-login.php", 404),
    ("/blog/2024/", 404),
    ("/img/banner.gif", 404),
    ("/admin/", 403),
    ("/private/reports/", 403),
    ("/cgi-bin/stats.cgi", 500),
]

SEARCH_ENGINES = [
    ("http://www.google.com/search?q={q}&hl=en", 10),
    ("http://www.google.de/search?q={q}&ie=utf-8", 3),
    ("http://www.google.co.uk/search?q={q}", 3),
    ("http://www.bing.com/search?q={q}&form=QBLH", 4),
    ("http://search.yahoo.com/search?p={q}&fr=yfp", 2),
    ("http://duckduckgo.com/?q={q}&t=h_", 3),
    ("http://www.ecosia.org/search?q={q}", 1),
    ("http://yandex.ru/search/?text={q}", 1),
]

QUERIES = [
    ("web log analyser", "/"),
    ("log file analysis windows", "/"),
    ("apache log viewer", "/products/logviewer.html"),
    ("logviewer download", "/download/"),
    ("logviewer 2.0", "/blog/2025/09/release-2-0.html"),
    ("report kit pricing", "/products/pricing.html"),
    ("combined log format", "/blog/2025/09/log-formats.html"),
    ("apache combined log format example", "/blog/2025/09/log-formats.html"),
    ("dns cache analog", "/blog/2025/10/dns-caching.html"),
    ("how to install logviewer", "/support/install.html"),
    ("logviewer faq", "/support/faq.html"),
    ("web statistics software", "/products/"),
    ("example software company", "/about/"),
]

OTHER_REFERRERS = [
    ("http://www.webtools-review.net/logs/top10.html", "/products/logviewer.html"),
    ("http://forum.sysadmins.org/viewtopic.php?t=4411", "/support/faq.html"),
    ("http://www.reddit.com/r/sysadmin/comments/8x2k/", "/blog/2025/09/log-formats.html"),
    ("http://news.ycombinator.com/item?id=41230", "/blog/2025/09/release-2-0.html"),
    ("http://en.wikipedia.org/wiki/Web_log_analysis_software", "/"),
    ("http://www.partner-shop.de/software/analyse.html", "/products/pricing.html"),
    ("http://twitter.com/example/status/1830", "/blog/2025/10/dns-caching.html"),
]

HOSTS = [
    # named hosts: their domains fill the domain and organisation reports
    "proxy1.bigcorp.com", "proxy2.bigcorp.com", "gw.uni-heidelberg.de",
    "pc17.physik.uni-heidelberg.de", "dsl-84-12-33-7.t-ipconnect.de",
    "cache-lon3.ntl.co.uk", "host86-142-12-9.range86-142.btcentralplus.com",
    "ppp-91-44.wanadoo.fr", "lns-bzn-48.abo.wanadoo.fr", "dhcp-212.cs.stanford.edu",
    "c-73-22-190-4.hsd1.ca.comcast.net", "c-98-207-14-11.hsd1.il.comcast.net",
    "cpe-24-58-10-2.nyc.res.rr.com", "ip68-5-101-33.oc.oc.cox.net",
    "mail.softworks.nl", "vpn2.tele2.se", "ws12.kpn.nl", "p5.rz.tu-berlin.de",
    "client-201.telecom.it", "dyn-33.bell.ca", "gate.acme-labs.co.jp",
    "nat-44.net.au", "fw1.gov.sg", "dialup-17.isp.br", "host3.unam.mx",
    "proxy.schule-nrw.de", "ws4.ethz.ch", "pc-77.chello.at", "gw1.onet.pl",
    "dsl-12.telefonica.es",
]
# numeric hosts appear as unresolved addresses
NUMERIC_HOSTS = [
    "192.0.2.14", "192.0.2.77", "198.51.100.9", "198.51.100.23", "198.51.100.201",
    "203.0.113.5", "203.0.113.66", "203.0.113.140", "81.2.69.142", "62.4.19.18",
    "89.160.20.112", "217.65.44.3", "2.125.160.216", "175.16.199.44", "216.160.83.56",
]

BROWSERS = [
    ("Mozilla/5.0 (Windows NT 10.0; Win64; x64) AppleWebKit/537.36 (KHTML, like Gecko) "
     "Chrome/128.0.0.0 Safari/537.36", 22),
    ("Mozilla/5.0 (Windows NT 10.0; Win64; x64) AppleWebKit/537.36 (KHTML, like Gecko) "
     "Chrome/127.0.0.0 Safari/537.36 Edg/127.0.2651.98", 7),
    ("Mozilla/5.0 (Windows NT 10.0; Win64; x64; rv:130.0) Gecko/20100101 Firefox/130.0", 9),
    ("Mozilla/5.0 (Windows NT 6.1; Win64; x64; rv:115.0) Gecko/20100101 Firefox/115.0", 2),
    ("Mozilla/5.0 (Macintosh; Intel Mac OS X 10_15_7) AppleWebKit/605.1.15 (KHTML, like Gecko) "
     "Version/17.6 Safari/605.1.15", 8),
    ("Mozilla/5.0 (Macintosh; Intel Mac OS X 10.15; rv:130.0) Gecko/20100101 Firefox/130.0", 3),
    ("Mozilla/5.0 (X11; Linux x86_64) AppleWebKit/537.36 (KHTML, like Gecko) "
     "Chrome/128.0.0.0 Safari/537.36", 4),
    ("Mozilla/5.0 (X11; Ubuntu; Linux x86_64; rv:129.0) Gecko/20100101 Firefox/129.0", 4),
    ("Mozilla/5.0 (iPhone; CPU iPhone OS 17_6 like Mac OS X) AppleWebKit/605.1.15 "
     "(KHTML, like Gecko) Version/17.6 Mobile/15E148 Safari/604.1", 7),
    ("Mozilla/5.0 (Linux; Android 14; Pixel 8) AppleWebKit/537.36 (KHTML, like Gecko) "
     "Chrome/128.0.0.0 Mobile Safari/537.36", 6),
    ("Mozilla/5.0 (compatible; MSIE 9.0; Windows NT 6.1; Trident/5.0)", 1),
    ("Opera/9.80 (Windows NT 6.1; U; en) Presto/2.12.388 Version/12.18", 1),
    ("Lynx/2.9.0dev.12 libwww-FM/2.14 SSL-MM/1.4.1 GNUTLS/3.7.9", 1),
    ("Wget/1.21.3", 1),
    ("curl/7.88.1", 1),
]

ROBOTS = [
    ("66.249.66.1", "Mozilla/5.0 (compatible; Googlebot/2.1; +http://www.google.com/bot.html)"),
    ("66.249.66.35", "Mozilla/5.0 (compatible; Googlebot/2.1; +http://www.google.com/bot.html)"),
    ("157.55.39.12", "Mozilla/5.0 (compatible; bingbot/2.0; +http://www.bing.com/bingbot.htm)"),
    ("crawl-77.yandex.ru", "Mozilla/5.0 (compatible; YandexBot/3.0; +http://yandex.com/bots)"),
]

MEMBERS = ["alice", "bob", "carol", "dave"]


def pick_weighted(rng, items_with_weights):
    items = [item for item, _ in items_with_weights]
    weights = [weight for _, weight in items_with_weights]
    return rng.choices(items, weights=weights)[0]


def quoted_query(text):
    return text.replace(" ", "+")


class Log:
    def __init__(self):
        self.entries = []

    def add(self, when, host, user, path, status, size, referrer, agent, method="GET"):
        stamp = when.strftime("%d/%b/%Y:%H:%M:%S ") + TIMEZONE
        size_text = "-" if size is None else str(size)
        line = (f'{host} - {user} [{stamp}] "{method} {path} HTTP/1.1" {status} {size_text} '
                f'"{referrer}" "{agent}"')
        self.entries.append((when, len(self.entries), line))

    def lines(self):
        return [line for _, _, line in sorted(self.entries)]


def session_start(rng, day):
    # busier in office hours, quiet at night
    hour = pick_weighted(rng, [(h, w) for h, w in enumerate(
        [1, 1, 1, 1, 1, 1, 2, 4, 7, 9, 10, 10, 9, 10, 10, 9, 8, 7, 6, 6, 5, 4, 3, 2])])
    return datetime.datetime.combine(day, datetime.time(hour, rng.randrange(60), rng.randrange(60)))


def page_view(log, rng, when, host, user, agent, page, referrer, cached):
    path, size, resources = page
    log.add(when, host, user, path, 200, size, referrer, agent)
    page_url = SITE + path
    for offset, resource in enumerate(resources, start=1):
        at = when + datetime.timedelta(seconds=offset)
        if cached and rng.random() < 0.7:
            log.add(at, host, user, resource, 304, None, page_url, agent)
        else:
            log.add(at, host, user, resource, 200, RESOURCE_SIZES[resource], page_url, agent)
    return page_url


def visit(log, rng, day):
    host = rng.choice(HOSTS) if rng.random() < 0.65 else rng.choice(NUMERIC_HOSTS)
    agent = pick_weighted(rng, BROWSERS)
    when = session_start(rng, day)
    user = "-"

    roll = rng.random()
    if roll < 0.38:
        query, landing = rng.choice(QUERIES)
        referrer = pick_weighted(rng, SEARCH_ENGINES).format(q=quoted_query(query))
        first = next(p for p in PAGES if p[0] == landing)
    elif roll < 0.55:
        referrer, landing = rng.choice(OTHER_REFERRERS)
        first = next(p for p in PAGES if p[0] == landing)
    else:
        referrer = "-"
        first = pick_weighted(rng, list(zip(PAGES, PAGE_WEIGHTS)))

    cached = False
    current = page_view(log, rng, when, host, user, agent, first, referrer, cached)
    for _ in range(rng.choice([0, 0, 1, 1, 2, 3, 4, 6])):
        when += datetime.timedelta(seconds=rng.randrange(8, 240))
        cached = True
        extra = rng.random()
        if extra < 0.08:
            path, status, target = rng.choice(REDIRECTS)
            log.add(when, host, user, path, status, 231, current, agent)
            if target.startswith("/download/") and target.endswith(".zip"):
                log.add(when + datetime.timedelta(seconds=1), host, user, target, 200,
                        DOWNLOADS[0][1], current, agent)
            continue
        if extra < 0.14:
            path, status = rng.choice(FAILURES)
            log.add(when, host, user, path, status, 209 if status == 404 else 284, current, agent)
            continue
        if extra < 0.22:
            path, size = rng.choice(DOWNLOADS)
            log.add(when, host, user, path, 200, size, current, agent)
            continue
        if extra < 0.26:
            # members area: a wrong password first, sometimes
            member = rng.choice(MEMBERS)
            if rng.random() < 0.3:
                log.add(when, host, member, "/members/", 401, 381, current, agent)
                when += datetime.timedelta(seconds=5)
            current = page_view(log, rng, when, host, member, agent, PAGES[-1], current, cached)
            continue
        if extra < 0.29:
            query = rng.choice(["install", "dns", "log+format", "price"])
            log.add(when, host, user, f"/support/search.php?q={query}", 200, 3920, current, agent)
            continue
        page = pick_weighted(rng, list(zip(PAGES, PAGE_WEIGHTS)))
        current = page_view(log, rng, when, host, user, agent, page, current, cached)


def robot_crawl(log, rng, day):
    host, agent = rng.choice(ROBOTS)
    when = session_start(rng, day)
    log.add(when, host, "-", "/robots.txt", 200, 68, "-", agent)
    for _ in range(rng.randrange(3, 9)):
        when += datetime.timedelta(seconds=rng.randrange(2, 30))
        path, size, _ = rng.choice(PAGES[:-1])
        log.add(when, host, "-", path, 200, size, "-", agent)
    if rng.random() < 0.4:
        log.add(when + datetime.timedelta(seconds=3), host, "-", "/old/pricing.html", 404, 209,
                "-", agent)


def main():
    if len(sys.argv) != 2:
        sys.exit(__doc__)
    rng = random.Random(SEED)
    log = Log()
    for offset in range(DAYS):
        day = FIRST_DAY + datetime.timedelta(days=offset)
        weekend = day.weekday() >= 5
        # traffic grows a little over the weeks
        visits = int((9 if weekend else 17) * (1 + offset / DAYS * 0.5)) + rng.randrange(0, 5)
        for _ in range(visits):
            visit(log, rng, day)
        for _ in range(rng.randrange(1, 3)):
            robot_crawl(log, rng, day)
    with open(sys.argv[1], "w", encoding="ascii", newline="\n") as out:
        for line in log.lines():
            out.write(line + "\n")


if __name__ == "__main__":
    main()
