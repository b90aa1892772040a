#!/usr/bin/env bash
# Makes the certificates of the https tests in tests/data/tls: a test CA, a server
# certificate it signs for localhost and 127.0.0.1 (valid for a hundred years), and one that
# expired the day it was made. The CA's key is thrown away. Run again only to replace them.
set -euo pipefail
out="$(cd "$(dirname "$0")/.." && pwd)/tests/data/tls"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
cd "$work"
openssl req -x509 -newkey rsa:2048 -nodes -keyout ca.key -out ca.pem -days 36500 -subj "/CN=Corvida Test CA" \
    -addext "basicConstraints=critical,CA:TRUE" -addext "keyUsage=critical,keyCertSign,cRLSign" 2>/dev/null
openssl req -newkey rsa:2048 -nodes -keyout server.key -out server.csr -subj "/CN=localhost" 2>/dev/null
printf 'subjectAltName=DNS:localhost,IP:127.0.0.1\nbasicConstraints=CA:FALSE\nextendedKeyUsage=serverAuth\n' >ext.cnf
openssl x509 -req -in server.csr -CA ca.pem -CAkey ca.key -set_serial 1 -out server.pem -days 36500 \
    -extfile ext.cnf 2>/dev/null
openssl x509 -req -in server.csr -CA ca.pem -CAkey ca.key -set_serial 2 -out expired.pem -days -1 \
    -extfile ext.cnf 2>/dev/null
mkdir -p "$out"
cp ca.pem server.pem server.key expired.pem "$out/"
