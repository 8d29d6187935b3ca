# The job scripts/build runs once everything is built.
main_job() {
  log "nothing to run yet"
}
