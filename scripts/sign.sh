#!/usr/bin/env bash
# Signs a Windows program in place (Authenticode, SHA-256) when TESSEL_SIGN_CERT and
# TESSEL_SIGN_KEY name a certificate and its private key (PEM files), time-stamped when
# TESSEL_SIGN_TIMESTAMP names an RFC 3161 time-stamp server. Without a certificate it leaves the
# file as it is. Used by the installer target for the program, the uninstaller and setup.
set -euo pipefail
file=$1
[ -n "${TESSEL_SIGN_CERT:-}" ] || exit 0
: "${TESSEL_SIGN_KEY:?TESSEL_SIGN_CERT is set, TESSEL_SIGN_KEY must name its key}"
stamp=()
[ -z "${TESSEL_SIGN_TIMESTAMP:-}" ] || stamp=(-ts "$TESSEL_SIGN_TIMESTAMP")
osslsigncode sign -certs "$TESSEL_SIGN_CERT" -key "$TESSEL_SIGN_KEY" -h sha256 -n Tessel \
  "${stamp[@]}" -in "$file" -out "$file.signed" >/dev/null
mv "$file.signed" "$file"
