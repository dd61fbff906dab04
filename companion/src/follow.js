'use strict'

const { EventEmitter } = require('node:events')
const { PanelState } = require('./state')
const { changedValues } = require('./variables')
const { kFeedbacksOfTopic } = require('./feedbacks')

// Follows a panel through its client's pushes: the state takes each push, and once per burst
// (the panel sends its changes together) it tells what the hub should hear of them.
//
// Event 'changes' (values, feedbackIds): the variables whose values changed, and the
// feedbacks to check again. Event 'refused' (words, why) for a push that does not read.
class PanelFollower extends EventEmitter {
	constructor(client) {
		super()
		this.state = new PanelState()
		this.lastValues = {}
		this.topics = new Set()
		this.soon = false
		client.on('state', (words) => this.take(words))
		client.on('status', (state) => {
			// Without a panel nothing it showed holds any more.
			if (state === 'closed' || state === 'refused') this.forget()
		})
	}

	take(words) {
		try {
			this.topics.add(this.state.apply(words))
		} catch (error) {
			this.emit('refused', words, error.message)
			return
		}
		if (!this.soon) {
			this.soon = true
			setImmediate(() => this.tell())
		}
	}

	forget() {
		this.state.clear()
		for (const topic of Object.keys(kFeedbacksOfTopic)) this.topics.add(topic)
		this.tell()
	}

	tell() {
		this.soon = false
		const values = changedValues(this.state, this.lastValues)
		const feedbackIds = [...new Set([...this.topics].flatMap((topic) => kFeedbacksOfTopic[topic] ?? []))]
		this.topics.clear()
		if (Object.keys(values).length > 0 || feedbackIds.length > 0) this.emit('changes', values, feedbackIds)
	}
}

module.exports = { PanelFollower }
