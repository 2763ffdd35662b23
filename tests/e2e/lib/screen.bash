# Helpers shared by the end-to-end scripts that watch the saver on a virtual display (sourced,
# not run: scripts/test-all runs only tests/e2e/*.sh).

window() {  # title seconds: the id of the visible window with exactly that title
  timeout "$2" xdotool search --sync --onlyvisible --name "^$1\$" 2>/dev/null | head -1
}
# Fractions of the screenshot's pixels that are dark, rain green and head white.
colour_fractions() {  # file -> "dark green white"
  convert "$1" -depth 8 rgb:- | python3 -c '
import sys
data = sys.stdin.buffer.read()
n = len(data) // 3
dark = green = white = 0
for i in range(0, n * 3, 3):
    r, g, b = data[i], data[i + 1], data[i + 2]
    if r < 64 and g < 64 and b < 64: dark += 1
    elif g > 64 and g > 2 * r and 2 * g > 3 * b: green += 1
    elif r > 216 and g > 216 and b > 216: white += 1
print(dark / n, green / n, white / n)'
}
at_least() { awk -v a="$1" -v b="$2" 'BEGIN { exit !(a >= b) }'; }
at_most() { awk -v a="$1" -v b="$2" 'BEGIN { exit !(a <= b) }'; }
