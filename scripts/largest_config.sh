# Sourced by the start-up benchmarks: the largest configuration the configuration's bounds allow
# (100 levels of 9999 inputs and outputs on 10 switchers, 200 boards), so that both measure the
# same one.
largest_config() {
  printf '{"rebootPort": 5150, "statusPort": 0, "levels": ['
  for i in $(seq 0 99); do
    [ "$i" -gt 0 ] && printf ', '
    printf '{"switcher": "SW%02d", "level": "LEVEL%03d", "inputs": 9999, "outputs": 9999, "board": %d}' \
      $((i / 10)) "$i" $((2 * i))
  done
  printf '], "boards": ['
  for i in $(seq 0 199); do
    [ "$i" -gt 0 ] && printf ', '
    printf '{"name": "BRD%03d", "address": [2, 0, 0, 0, %d, %d], "type": "Q", "flag": %d}' \
      $((i / 2)) $((i / 256)) $((i % 256)) $((i % 2))
  done
  printf ']}\n'
}
