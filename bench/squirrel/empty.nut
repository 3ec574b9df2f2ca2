// An empty script: what remains is the runner's own start-up.
