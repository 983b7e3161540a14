-- wrk: each request posts one prepared confirmation, never the same one twice. The file holds
-- one "target<TAB>body<TAB>client address" line per submission; thread n of k takes every k-th.
local lines = {}
local next_line = 1

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
            table.insert(lines, line)
        end
    end
end

function request()
    local line = lines[next_line] or lines[#lines]
    next_line = next_line + 1
    local target, body, client = line:match("([^\t]+)\t([^\t]+)\t([^\t]+)")
    return wrk.format("POST", target, {
        ["Content-Type"] = "application/x-www-form-urlencoded",
        ["X-Forwarded-For"] = client,
    }, body)
end
