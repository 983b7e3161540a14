-- wrk: each request posts one prepared confirmation, never the same one twice. The file holds
-- one "target<TAB>body<TAB>client address" line per submission; thread n of k takes every k-th.
-- The requests are formatted up front, so wrk spends no more per request than on a plain GET.
local requests = {}
local next_request = 1

function setup(thread)
    thread_count = (thread_count or 0) + 1
    thread:set("thread_number", thread_count)
end

function init(args)
    local step = tonumber(args[2])
    local index = 0
    for line in io.lines(args[1]) do
        index = index + 1
        if index % step == thread_number % step then
            local target, body, client = line:match("([^\t]+)\t([^\t]+)\t([^\t]+)")
            table.insert(requests, wrk.format("POST", target, {
                ["Content-Type"] = "application/x-www-form-urlencoded",
                ["X-Forwarded-For"] = client,
            }, body))
        end
    end
end

function request()
    local formatted = requests[next_request] or requests[#requests]
    next_request = next_request + 1
    return formatted
end
