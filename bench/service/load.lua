-- wrk's script for the class service's benchmark, paced to a fixed rate.
--   ZIFFERIX_MODE=results  posts distinct valid results (an id of their own each) round the
--                          classes in ZIFFERIX_CLASSES, each class from its school's address
--   ZIFFERIX_MODE=board    reads the board named in ZIFFERIX_BOARD ("class secret")
--   ZIFFERIX_RATE          requests a second in all, ZIFFERIX_CONNECTIONS as given to wrk's -c
-- done() prints one line "zifferix ..." that run.sh reads.

local mode = os.getenv("ZIFFERIX_MODE") or "results"
local rate = tonumber(os.getenv("ZIFFERIX_RATE") or "2000")
local connections = tonumber(os.getenv("ZIFFERIX_CONNECTIONS") or "100")
local run = tonumber(os.getenv("ZIFFERIX_RUN") or "1")
local schools = 50
local names = {}
for n = 1, 30 do
    names[n] = string.format("Kind%02d", n)
end
local games = { "uhr", "berg", "glas", "spinne", "waage", "ballon", "zahlen" }

local threads = {}

function setup(thread)
    thread:set("index", #threads)
    table.insert(threads, thread)
end

local classes = {}
local board, secret
local counter = 0
statuses = {}

function init(args)
    if mode == "board" then
        local file = io.open(os.getenv("ZIFFERIX_BOARD"))
        board, secret = file:read("*l"):match("(%S+) (%S+)")
        file:close()
    else
        for line in io.lines(os.getenv("ZIFFERIX_CLASSES")) do
            classes[#classes + 1] = line
        end
    end
end

-- Each connection waits so long after an answer that all of them together send `rate` a second
-- (the answer's own time, about a millisecond, is the one taken off).
function delay()
    return math.max(0, connections * 1000 / rate - 1)
end

local problems = {}
for n = 1, 10 do
    problems[n] = string.format(
        '{"aufgabe":"%d mal 7","antwort":"%d","richtig":%s,"sekunden":%.1f}',
        n, n * 7 + (n % 4 == 0 and 1 or 0), n % 4 == 0 and "false" or "true", 1 + n / 10)
end
local aufgaben = "[" .. table.concat(problems, ",") .. "]"

function request()
    if mode == "board" then
        return wrk.format("GET", "/api/klassen/" .. board .. "/tafel",
            { ["Authorization"] = "Bearer " .. secret })
    end
    counter = counter + 1
    -- Every thread goes round all the classes, each from a place of its own.
    local slot = (counter + index * 251) % #classes
    local id = string.format("%08x-%04x-4000-8000-%012x", run, index, counter)
    local body = string.format(
        '{"id":"%s","kind":"%s","spiel":"%s","stufe":%d,"punkte":%d,"ergebnis":"%s",' ..
        '"reihe":false,"sekunden":%.1f,"aufgaben":%s}',
        id, names[counter % 30 + 1], games[counter % 7 + 1], counter % 3 + 1, counter % 500,
        counter % 3 == 0 and "verloren" or "gewonnen", 30 + counter % 60, aufgaben)
    return wrk.format("POST", "/api/klassen/" .. classes[slot + 1] .. "/ergebnisse", {
        ["Content-Type"] = "application/json",
        ["X-Forwarded-For"] = string.format("10.0.%d.1", slot % schools),
    }, body)
end

function response(status, headers, body)
    statuses[status] = (statuses[status] or 0) + 1
end

function done(summary, latency, requests)
    local counts = {}
    for _, thread in ipairs(threads) do
        for status, n in pairs(thread:get("statuses")) do
            counts[status] = (counts[status] or 0) + n
        end
    end
    local seen = {}
    for status, n in pairs(counts) do
        seen[#seen + 1] = string.format("s%d=%d", status, n)
    end
    table.sort(seen)
    local errors = summary.errors
    io.write(string.format(
        "zifferix requests=%d rate=%.0f p50=%.2f p90=%.2f p99=%.2f max=%.2f errors=%d %s\n",
        summary.requests, summary.requests / (summary.duration / 1e6),
        latency:percentile(50) / 1000, latency:percentile(90) / 1000,
        latency:percentile(99) / 1000, latency.max / 1000,
        errors.connect + errors.read + errors.write + errors.timeout, table.concat(seen, " ")))
end
