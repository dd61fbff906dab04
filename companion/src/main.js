'use strict'

const { InstanceBase, InstanceStatus, runEntrypoint } = require('@companion-module/base')
const { PanelClient } = require('./client')
const { PanelFollower } = require('./follow')
const { PanelState } = require('./state')
const { configFields, configProblem, hubStatus } = require('./config')
const { actionDefinitions, refusalText } = require('./actions')
const { feedbackDefinitions } = require('./feedbacks')
const { variableDefinitions } = require('./variables')
const { presetDefinitions } = require('./presets')

// The connection to one panel in the hub: the client and its follower do the work, this
// hands their news to the hub.
class PanelInstance extends InstanceBase {
	async init(config) {
		this.client = null
		this.follower = null
		const noState = new PanelState()
		const noPanel = () => Promise.reject(new Error('No panel is configured.'))
		const panel = {
			command: (line) => this.client?.command(line) ?? noPanel(),
			turn: (knob, delta) => this.client?.turn(knob, delta) ?? noPanel(),
		}
		this.setVariableDefinitions(variableDefinitions())
		this.setFeedbackDefinitions(feedbackDefinitions(() => this.follower?.state ?? noState))
		this.setActionDefinitions(actionDefinitions({ client: panel, log: (level, text) => this.log(level, text) }))
		this.setPresetDefinitions(presetDefinitions(this.label))
		this.connect(config)
	}

	async configUpdated(config) {
		this.connect(config)
	}

	async destroy() {
		this.client?.stop()
		this.client = null
	}

	getConfigFields() {
		return configFields()
	}

	connect(config) {
		this.client?.stop()
		this.client = null
		this.follower?.forget()
		const problem = configProblem(config)
		if (problem) {
			this.updateStatus(InstanceStatus.BadConfig, problem)
			return
		}
		const client = new PanelClient({ host: String(config.host).trim(), port: Number(config.port) })
		const follower = new PanelFollower(client)
		client.on('status', (state, text) => this.updateStatus(...hubStatus(state, text)))
		client.on('refusal', (reason) => this.log('warn', refusalText(reason)))
		client.on('bad', (line, why) => this.log('debug', `A line that does not read (${why}): ${line}`))
		follower.on('refused', (words, why) => this.log('debug', `A push that does not read (${why}): ${words.join(' ')}`))
		follower.on('changes', (values, feedbackIds) => {
			if (Object.keys(values).length > 0) this.setVariableValues(values)
			if (feedbackIds.length > 0) this.checkFeedbacks(...feedbackIds)
		})
		this.client = client
		this.follower = follower
		client.start()
	}
}

runEntrypoint(PanelInstance, [])
