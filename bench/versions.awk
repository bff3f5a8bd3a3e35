# The speed floor for `ravlet-cli versions`: every record marker of the base, in order.
#   LC_ALL=C awk -f versions.awk rvbase.txt
BEGIN { RS = "\r\n" }
substr($0, 1, 7) == "TARVEN=" { print substr($0, 8) }
