# The speed floor for `ravlet-cli defaults --dry-run INI`: one pass over the version
# base collecting the defaults of the settings file's version, one pass over the
# settings file writing it whole with every known key set to its default.
#   LC_ALL=C awk [-v version=V] -f defaults.awk rvbase.txt tarven.ini
# Not byte-exact with ravlet (it follows the record up to the next marker rather than
# the group listing's own end), but it reads, matches and writes as much.
BEGIN {
    RS = "\r\n"; ORS = "\r\n"
    if (version == "") {
        # The build the settings file names, as the detection needs it first.
        while ((getline line < ARGV[2]) > 0) {
            if (substr(line, 1, 7) == "TARVEN=") { build = substr(line, 8); break }
        }
        close(ARGV[2])
        if (build == "") { print "defaults.awk: no TARVEN line" > "/dev/stderr"; exit 1 }
    }
}
FNR == 1 { file++; group = "" }
file == 1 {
    if (substr($0, 1, 7) == "TARVEN=") {
        if (inrecord) { inrecord = 0; found = 1 }
        if (!found) {
            if (version != "") inrecord = substr($0, 8) == version
            else waiting = 1
        }
        next
    }
    if (waiting && substr($0, 1, 8) == "SUPPORT=") { waiting = 0; inrecord = index($0, build) > 0; next }
    if (!inrecord) next
    c = substr($0, 1, 1)
    if (c == "[") { group = $0; next }
    if ((c == "+" || c == "-") && (eq = index($0, "="))) {
        spec = substr($0, eq + 1)
        if (substr(spec, 1, 1) == "!") {
            value = substr(spec, 2)
        } else {
            if ((at = index(spec, "@"))) spec = substr(spec, at + 1)
            value = (comma = index(spec, ",")) ? substr(spec, 1, comma - 1) : spec
        }
        fallback[group SUBSEP substr($0, 2, eq - 2)] = value
    }
    next
}
{
    c = substr($0, 1, 1)
    if (c == "[") {
        group = $0
    } else if (c != ";" && (eq = index($0, "=")) && ((group SUBSEP (key = substr($0, 1, eq - 1))) in fallback)) {
        rest = substr($0, eq + 1)
        comment = (semi = index(rest, ";")) ? substr(rest, semi) : ""
        print key "=" fallback[group SUBSEP key] " " comment
        next
    }
    print
}
