# What index.json says across the fleet, one line per row as rows.sh prints
# the page: the computers, the most attention first (name, flag count,
# flags, lowest free percent, antivirus age, error events, SMART warnings),
# then the programs with each version's computers.
.fleet as $f
| ($f.attention[] | $f.computers[.]
   | "|\(.name)|\(.needs)|\(.flags | join(","))|\(.lowest_free.free_percent // "-")|\(.antivirus_age_days // "-")|\(.error_events)|\(.smart_warnings)"),
  ($f.software[] | "|\(.name)|\(.computers)|\([.versions[] | "\(.version):\(.computers | map(tostring) | join(","))"] | join(" "))")
