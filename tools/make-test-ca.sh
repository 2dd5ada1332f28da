#!/usr/bin/env bash
# Makes a throw-away CA and one server certificate for the given host names, for tests only.
# The CA is trusted only inside the tests' own network namespace (tools/with-wine.sh).
# Usage: tools/make-test-ca.sh DIR HOST...
set -euo pipefail
dir=$1; shift
mkdir -p "$dir"
cd "$dir"
openssl req -x509 -newkey rsa:2048 -nodes -days 3650 -subj "/CN=Tolvane Test CA" \
  -keyout ca.key -out ca.crt -addext "basicConstraints=critical,CA:TRUE" \
  -addext "keyUsage=critical,keyCertSign,cRLSign" 2>/dev/null
san=$(printf 'DNS:%s,' "$@"); san=${san%,},IP:127.0.0.1
openssl req -newkey rsa:2048 -nodes -subj "/CN=$1" -keyout server.key -out server.csr 2>/dev/null
printf 'subjectAltName=%s\nbasicConstraints=CA:FALSE\nextendedKeyUsage=serverAuth\n' "$san" > server.ext
openssl x509 -req -in server.csr -CA ca.crt -CAkey ca.key -CAcreateserial -days 3650 \
  -extfile server.ext -out server.crt 2>/dev/null
echo "$dir"
