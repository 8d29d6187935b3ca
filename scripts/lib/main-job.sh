# The job scripts/build runs once everything is built: render the demo and
# the response plot into dist/demo/ with the native renderer.
main_job() {
  local render="$TORVA_ROOT/dist/bin/torva-render"
  if [ ! -x "$render" ]; then
    log "torva-render was not built"
    return 1
  fi
  mkdir -p "$TORVA_ROOT/dist/demo"
  log "rendering the demo into dist/demo/"
  "$render" --response "$TORVA_ROOT/dist/demo/response.svg" "$TORVA_ROOT/dist/demo/demo-cab.wav"
}
