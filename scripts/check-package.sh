#!/usr/bin/env bash
# Makes the Debian packages and checks them as a distribution would: lintian,
# the desktop entry and the AppStream data validated, and the companion run
# from a package unpacked into a temporary root.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/package.sh
packages=build-package/packages
full=$(ls "$packages"/quorvane_*.deb)
cli=$(ls "$packages"/quorvane-cli_*.deb)

# No error and no warning is kept. A tag may only be suppressed here with
# --suppress-tags and a comment saying why it is acceptable.
lintian --fail-on error,warning --tag-display-limit 0 "$full" "$cli"

desktop-file-validate resources/quorvane.desktop
appstreamcli validate --no-net --explain \
  build-package/packaging/io.github.quorvane.Quorvane.metainfo.xml

root=$(mktemp -d)
trap 'rm -rf "$root"' EXIT
for deb in "$full" "$cli"; do
  dpkg-deb -x "$deb" "$root/$(basename "$deb" .deb)"
done

# The companion from each package computes the shipped batch: the same verdicts
# as from the build tree (exit status 3: one loan cannot be computed while the
# others were, and one disclosure is not accurate).
full_root="$root/$(basename "$full" .deb)"
cli_root="$root/$(basename "$cli" .deb)"
examples="$full_root/usr/share/doc/quorvane/examples"
for companion in "$full_root/usr/bin/quorvane-cli" "$cli_root/usr/bin/quorvane-cli"; do
  status=0
  out=$("$companion" check --format csv "$examples/loans.csv") || status=$?
  [ "$status" -eq 3 ] || { echo "check-package: $companion exited $status, not 3" >&2; exit 1; }
  grep -q '^car-017,.*ACCURATE' <<<"$out" || { echo "check-package: no verdict for car-017:" >&2; echo "$out" >&2; exit 1; }
done
# The companion's own package has no Qt in its dependencies.
if dpkg-deb -f "$cli" Depends | grep -qi qt; then
  echo "check-package: quorvane-cli depends on Qt: $(dpkg-deb -f "$cli" Depends)" >&2
  exit 1
fi
man -l "$full_root/usr/share/man/man1/quorvane-cli.1.gz" >/dev/null
echo "check-package: $(basename "$full") and $(basename "$cli") pass lintian and run"
