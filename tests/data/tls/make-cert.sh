#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# A self-signed certificate for 127.0.0.1, made by openssl, for the tests of the browser pane's
# question about a certificate that is not valid. Run in this folder to make it again.
set -e
openssl req -x509 -newkey rsa:2048 -nodes -days 36500 -subj "/CN=127.0.0.1" \
    -addext "subjectAltName=IP:127.0.0.1" -keyout key.pem -out cert.pem
