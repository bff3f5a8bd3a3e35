# The speed floor for `ravlet-cli transfer --dry-run OLD INI`: the keys named in the
# base's [DESCRIPTIONS] section, their non-empty values in the older file, written over
# the non-empty ones of the settings file, which is printed whole; the report of carried
# keys goes to stderr through one buffered pipe (mawk writes "/dev/stderr" unbuffered,
# and a report string grown line by line is copied whole at every line).
#   LC_ALL=C awk -f transfer.awk rvbase.txt old.ini tarven.ini
# Not byte-exact with ravlet (the report follows the settings file's order), but it
# reads, matches and writes as much.
BEGIN { RS = "\r\n"; ORS = "\r\n"; report = "cat 1>&2"; print "carried:" | report }
FNR == 1 { file++; group = "" }
file == 1 {
    if (state == 0) {
        if ($0 == "[DESCRIPTIONS]") state = 1
    } else if (state == 1) {
        if ($0 == "") {
            state = 2
        } else if (substr($0, 1, 1) != ";" && (colon = index($0, ":")) && (eq = index($0, "=")) > colon) {
            g = substr($0, 1, colon - 1)
            described[(g == "" ? "" : "[" g "]") SUBSEP substr($0, colon + 1, eq - colon - 1)] = 1
        }
    }
    next
}
function value_of(line, eq,    v, semi) {
    v = substr(line, eq + 1)
    if ((semi = index(v, ";"))) v = substr(v, 1, semi - 1)
    sub(/ +$/, "", v)
    return v
}
{
    c = substr($0, 1, 1)
    if (c == "[") { group = $0; if (file == 3) print; next }
    if (c == ";" || !(eq = index($0, "="))) { if (file == 3) print; next }
    key = substr($0, 1, eq - 1)
    if ((group SUBSEP key) in described) {
        k = group SUBSEP key
    } else if (("" SUBSEP key) in described) {
        k = SUBSEP key
    } else {
        if (file == 3) print
        next
    }
    if (file == 2) {
        if (!(k in old) && (v = value_of($0, eq)) != "") old[k] = v
        next
    }
    if ((k in old) && value_of($0, eq) != "") {
        rest = substr($0, eq + 1)
        comment = (semi = index(rest, ";")) ? substr(rest, semi) : ""
        print key "=" old[k] " " comment
        print group key "=" old[k] | report
        next
    }
    print
}
END { close(report) }
