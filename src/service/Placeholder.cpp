// placeholder until the service lands
